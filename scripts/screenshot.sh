#!/usr/bin/env bash
# Takes docs/screenshot.png, the main window while tracking, and docs/screenshot-reporting.png, the
# reporting tool's window, on a virtual X display (Xvfb), with the sample template of docs/. Needs
# the Release build (./run.sh makes it), or the build folder named by VSOLO_BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-deps.sh
VSOLO_PACKAGES+=(xvfb xdotool imagemagick)
vsolo_ensure_packages
build=${VSOLO_BUILD_DIR:-build-release}
program=$build/tracker/vsolo
reporting=$build/tracker/vsreport
[ -x "$program" ] || { echo "build the Release configuration first (./run.sh)" >&2; exit 2; }

work=$(mktemp -d)
cleanup() {
  [ -n "${tracker_pid:-}" ] && kill "$tracker_pid" 2>/dev/null || true
  [ -n "${reporting_pid:-}" ] && kill "$reporting_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A home of its own, so that the user's settings and a running copy are left alone.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cp docs/sample.tpl docs/sample.trs "$work/"

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
sleep 1
"$program" "$work/sample.tpl" &
tracker_pid=$!
window=$(xdotool search --sync --name 'sample.tpl - Veltimo Solo' | head -n 1)
xdotool windowfocus --sync "$window"
sleep 1
xdotool key --clearmodifiers F9   # start tracking the selected activity
sleep 2
import -window "$window" docs/screenshot.png
echo "wrote docs/screenshot.png"

"$reporting" "$work/sample.tpl" &
reporting_pid=$!
# On a first start the tool says that it makes a new reporting file; OK closes that box.
sleep 2
xdotool key --clearmodifiers Return
sleep 1
window=$(xdotool search --sync --onlyvisible --pid "$reporting_pid" --name 'Veltimo Solo Reporting' | head -n 1)
xdotool windowfocus --sync "$window"
sleep 2
import -window "$window" docs/screenshot-reporting.png
echo "wrote docs/screenshot-reporting.png"
