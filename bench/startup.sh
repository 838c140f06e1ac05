#!/usr/bin/env bash
# Start-up of the tracker (vsolo) and of the reporting tool (vsreport): the time from starting the
# process to the first paint of the main window, median of several runs, with the large template
# (1,000,000 transactions) and with a two-item template. Needs the Release build (./run.sh makes
# it).
# Usage: bench/startup.sh [RUNS] [PROGRAM...]    PROGRAM: tracker, reporting (default both)
# The last line for each program is machine-readable:
#   tracker 1M=NN ms two-item=NN ms ratio=N.NN
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
shift || true
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(tracker reporting)
build=${VSOLO_RELEASE_BUILD:-build-release}
[ -x "$build/tracker/vsolo" ] && [ -x "$build/tracker/vsreport" ] &&
  [ -x "$build/bench/make_large_template" ] || {
  echo "build the Release configuration first (./run.sh or cmake --build $build)" >&2
  exit 2
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A home of its own, so that the user's settings and a running copy are left alone.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
large=$("$build/bench/make_large_template" "$work")
small=$("$build/bench/make_large_template" "$work" --two-item)
echo "large template: $(stat -c %s "$large") bytes, transactions: $(stat -c %s "${large%.tpl}.trs") bytes"

# median BINARY TEMPLATE: prints the runs and leaves the median in $median (ms).
median() {
  local binary=$1 template=$2 times=() start end sorted
  # A window that waits for an answer never quits by itself: a run that hangs is an error.
  timeout 60 "$binary" --quit-after-first-paint "$template" >/dev/null 2>&1 || {
    echo "$(basename "$binary") did not quit after its first paint on $template" >&2
    exit 1
  } # this run warms the cache
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    timeout 60 "$binary" --quit-after-first-paint "$template" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  sorted=$(printf '%s\n' "${times[@]}" | sort -n)
  echo "  $(basename "$template"): $(echo $sorted) ms" >&2
  median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
}

results=()
for program in "${programs[@]}"; do
  case $program in
  tracker) binary=$build/tracker/vsolo ;;
  reporting) binary=$build/tracker/vsreport ;;
  *) echo "unknown program: $program (tracker or reporting)" >&2 && exit 2 ;;
  esac
  echo "$program, start-up to first paint, $runs runs:" >&2
  median "$binary" "$large"
  big=$median
  median "$binary" "$small"
  results+=("$program 1M=$big ms two-item=$median ms ratio=$(awk -v a="$big" -v b="$median" \
    'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')")
done
printf '%s\n' "${results[@]}"
