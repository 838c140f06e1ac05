#!/usr/bin/env bash
# The template type is recognised by the first four bytes of each layout whatever the file's name,
# and by the name .tpl whatever the content, and the tracker's menu entry is its handler: a MIME
# database and a desktop entry cache are built in a prefix of their own and asked through xdg-mime,
# as a file manager would.
#
#   mimetype_test.sh TYPE_XML TRACKER_DESKTOP_ENTRY
set -euo pipefail
type_xml=$1
entry=$2
want=application/x-veltimo-solo-template
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/share/mime/packages" "$work/share/applications" "$work/home" "$work/files"
cp "$type_xml" "$work/share/mime/packages/"
cp "$entry" "$work/share/applications/"
XDG_DATA_DIRS="$work/share" update-mime-database "$work/share/mime"
update-desktop-database -q "$work/share/applications"

# No desktop session: xdg-mime takes its generic path, which reads the shared MIME-info database.
run_query() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    HOME="$work/home" XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/share:/usr/share" \
    xdg-mime query "$@"
}

failures=0
expect() { # NAME BYTES WANTED
  local file="$work/files/$1"
  printf "$2" >"$file"
  local got
  got=$(run_query filetype "$file")
  if [ "$got" != "$3" ]; then
    echo "FAIL $1: $got, wanted $3"
    failures=$((failures + 1))
  else
    echo "ok   $1: $got"
  fi
}

rest='Veltimo Solo File\0\0\0\0\0\0\0\0'
expect version4.dat "\x04\x00\x00\x00$rest" "$want"
expect tag512.dat '\x00\x02\x00\x00header\0\0\0\0\0\0' "$want"
expect managed512.dat 'ATra header of a managed file\0\0' "$want"
expect tag768.dat '\x00\x03\x00\x00header\0\0\0\0\0\0' "$want"
expect named.tpl 'any content at all' "$want"
expect plain.txt 'just some words\n' text/plain
expect five.dat '\x05\x00\x00\x00\x01\x02\x03\x04\x05\x06' application/octet-stream
handler=$(run_query default "$want")
if [ "$handler" != "$(basename "$entry")" ]; then
  echo "FAIL handler: '$handler', wanted $(basename "$entry")"
  failures=$((failures + 1))
fi
exit $((failures > 0))
