#!/usr/bin/env bash
# The speed table at a lifetime of data: makes the large template (bench/make_large_template:
# 1,000,000 transactions, 2,040 items), runs every row as whole processes several times on the
# Release build and prints the table with the medians beside the targets, for the next person to
# compare with. The start-up rows come from bench/startup.sh; the test-suite row runs ctest in
# build-test/ when it is there and --no-ctest is not given.
# Usage: bench/scale.sh [--no-ctest] [RUNS]   (RUNS defaults to 7; VSOLO_RELEASE_BUILD names
# another Release build folder than build-release)
set -euo pipefail
cd "$(dirname "$0")/.."
ctest_row=1
if [ "${1:-}" = --no-ctest ]; then
  ctest_row=0
  shift
fi
runs=${1:-7}
build=${VSOLO_RELEASE_BUILD:-build-release}
for program in cli/vsolo-cli bench/make_large_template bench/vsolo_bench; do
  [ -x "$build/$program" ] || {
    echo "build the Release configuration with its benchmarks first (./run.sh, or cmake --build $build)" >&2
    exit 2
  }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A home of its own: the user's settings and a running copy are left alone.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
template=$("$build/bench/make_large_template" "$work")

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# The median wall time in ms of RUNS runs of a command (after one run that warms the caches), and
# the largest resident size in MB of those runs.
measure() {
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  local times=() peak=0 start end kb
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    if [ -x /usr/bin/time ]; then # GNU time (Debian package time) gives the resident size
      /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1
      kb=$(tail -1 "$work/rss")
    else
      "$@" >/dev/null 2>&1
      kb=0
    fi
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
    (( kb > peak )) && peak=$kb
  done
  printf '%s %s\n' "$(printf '%s\n' "${times[@]}" | median)" "$(( peak / 1000 ))"
}

projects=()
for g in $(seq 40); do projects+=(--project "Project $g"); done
read -r invoice_ms invoice_mb < <(measure "$build/cli/vsolo-cli" invoice --from 1/1/1990 \
  --to 12/31/2030 "${projects[@]}" "$template")
read -r report_ms _ < <(measure "$build/cli/vsolo-cli" report "$template")

load_ms=$("$build/bench/vsolo_bench" --benchmark_filter='^BM_LoadTransactionFile' \
  --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true 2>/dev/null |
  awk '/_median/ {print $2}')

startup=$(VSOLO_RELEASE_BUILD="$build" bench/startup.sh "$runs" | grep -E '^(tracker|reporting) ' || true)
field() { printf '%s\n' "$startup" | awk -v program="$1" -v key="$2" \
  '$1 == program { for (i = 2; i <= NF; ++i) { split($i, kv, "="); if (kv[1] == key) print kv[2] } }'; }

ctest_s="not run"
if [ "$ctest_row" = 1 ] && [ -f build-test/CTestTestfile.cmake ]; then
  start=$(date +%s)
  verdict=""
  (cd build-test && ctest -j "$(nproc)" >/dev/null 2>&1) || verdict="failed, "
  ctest_s="$verdict$(( $(date +%s) - start )) s"
fi

cat <<EOF
| Measure | Now (median of $runs) | Target |
|---|---|---|
| \`vsolo-cli invoice\`, 40 projects, 1990–2030 | $invoice_ms ms, $invoice_mb MB | ≤ 100 ms and ≤ \`vsolo-cli report\` ($report_ms ms) |
| load of the transaction file (\`BM_LoadTransactionFile\`) | $load_ms ms | ≤ 50 ms |
| tracker start-up to first paint, 1M vs two items | $(field tracker 1M) vs $(field tracker two-item) ms: $(field tracker ratio)× | ≤ 1.2× |
| reporting tool start-up to first paint, 1M vs two items | $(field reporting 1M) vs $(field reporting two-item) ms: $(field reporting ratio)× | ≤ 1.2× |
| \`ctest -j $(nproc)\` in build-test | $ctest_s | ≤ 120 s |
EOF
