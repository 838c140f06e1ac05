#!/usr/bin/env bash
# Start-up of the tracker with a large template: the time from starting the process to the first
# paint of the main window, median of several runs. Needs the Release build (./run.sh makes it).
# Usage: bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
build=build-release
[ -x "$build/tracker/vsolo" ] && [ -x "$build/bench/make_large_template" ] || {
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
template=$("$build/bench/make_large_template" "$work")
echo "template: $(stat -c %s "$template") bytes, transactions: $(stat -c %s "${template%.tpl}.trs") bytes"
"$build/tracker/vsolo" --quit-after-first-paint "$template" 2>/dev/null || true # warm the cache
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$build/tracker/vsolo" --quit-after-first-paint "$template" 2>/dev/null
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "start-up to first paint (ms): $(echo $sorted)"
echo "median: $(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p") ms"
