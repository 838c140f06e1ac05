#!/usr/bin/env bash
# The template type is recognised by the first four bytes of each layout whatever the file's name,
# and by the name .tpl whatever the content: a MIME database is built from the type's file in a
# prefix of its own and asked through xdg-mime, as a file manager would.
#
#   mimetype_test.sh TYPE_XML
set -euo pipefail
type_xml=$1
want=application/x-veltimo-solo-template
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/share/mime/packages" "$work/home" "$work/files"
cp "$type_xml" "$work/share/mime/packages/"
XDG_DATA_DIRS="$work/share" update-mime-database "$work/share/mime"

# No desktop session: xdg-mime takes its generic path, which reads the shared MIME-info database.
run_query() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    HOME="$work/home" XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/share:/usr/share" \
    xdg-mime query filetype "$1"
}

failures=0
expect() { # NAME BYTES WANTED
  local file="$work/files/$1"
  printf "$2" >"$file"
  local got
  got=$(run_query "$file")
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
exit $((failures > 0))
