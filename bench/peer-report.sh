#!/usr/bin/env bash
# Side by side: the time study report of vsolo-cli against the summary of a command-line time
# tracker (Debian's timewarrior, installed here when timew is missing), over the same 100,000
# intervals of 11 years, whole processes, median of several runs each.
# Usage: bench/peer-report.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
build="build-bench"

if ! command -v timew >/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
  "${sudo[@]}" apt-get install -y --no-install-recommends timewarrior ||
    { "${sudo[@]}" apt-get update && "${sudo[@]}" apt-get install -y --no-install-recommends timewarrior; }
fi

nice cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSOLO_BUILD_TESTS=OFF \
  -DVSOLO_BUILD_BENCH=ON >/dev/null
nice cmake --build "$build" --target vsolo-cli make_peer_data >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A home of its own, so that no user settings are read or written; UTC, so that the days of both
# sides line up.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" TZ=UTC
mkdir -p "$HOME"
export TIMEWARRIORDB="$work/data/timew"
template=$("$build/bench/make_peer_data" "$work/data")
cli=$(realpath "$build/cli/vsolo-cli")

# Both write to standard output: with -o /dev/null the file would be replaced, not written to.
# Both are used through name references.
# shellcheck disable=SC2034
{
  vsolo_report=("$cli" report --from 1/1/2015 --to 12/31/2026 "$template")
  timew_summary=(timew summary 2015-01-01 - 2027-01-01 :ids)
}

# Each must succeed once before it is timed; the size of its output shows a run that did nothing.
# timew makes its tags file (data/tags.data) on this first run, so every timed run finds it.
for name in vsolo_report timew_summary; do
  declare -n cmd=$name
  if ! "${cmd[@]}" >"$work/$name.out" 2>"$work/$name.err"; then
    echo "$name failed:" >&2
    cat "$work/$name.err" >&2
    exit 1
  fi
  echo "$name: $(wc -c <"$work/$name.out") bytes, $(wc -l <"$work/$name.out") lines"
done

# The median of the runs of the named command, in milliseconds.
median_ms() {
  local name=$1 start end
  local -n cmd=$name
  local times=()
  if command -v hyperfine >/dev/null; then
    hyperfine -N --runs "$runs" --warmup 1 --export-json "$work/$name.json" "${cmd[*]@Q}" \
      >/dev/null
    sed -n 's/^ *"median": *\([0-9.e+-]*\),*$/\1/p' "$work/$name.json" |
      awk '{ printf "%.1f\n", $1 * 1000 }'
    return
  fi
  "${cmd[@]}" >/dev/null # warm the cache
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "${cmd[@]}" >/dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p" |
    awk '{ printf "%.1f\n", $1 / 1000 }'
}

vsolo=$(median_ms vsolo_report)
timew=$(median_ms timew_summary)
echo "vsolo-cli report: $vsolo ms (median of $runs)"
echo "timew summary:    $timew ms (median of $runs)"
awk -v t="$timew" -v v="$vsolo" 'BEGIN { printf "timew / vsolo-cli: %.0f\n", t / v }'
