#!/usr/bin/env bash
# The template type is recognised by the whole header of each layout whatever the file's name, and
# by the name .tpl whatever the content, and the tracker's menu entry is its handler. Other files
# that share a template's first bytes, and common files, are not taken for templates. A MIME
# database and a desktop entry cache are built in a prefix of their own and asked as a file
# manager would, through xdg-mime and through GIO (two readers of the shared MIME-info database).
# The templates are checked with vsolo-cli too, so that they are what the tracker reads.
#
#   mimetype_test.sh TYPE_XML TRACKER_DESKTOP_ENTRY VSOLO_CLI
set -euo pipefail
type_xml=$1
entry=$2
cli=$3
want=application/x-veltimo-solo-template
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/share/mime/packages" "$work/share/applications" "$work/home" "$work/files"
cp "$type_xml" "$work/share/mime/packages/"
cp "$entry" "$work/share/applications/"
XDG_DATA_DIRS="$work/share" update-mime-database "$work/share/mime"
update-desktop-database -q "$work/share/applications"

# No desktop session: xdg-mime takes its generic path, which reads the shared MIME-info database.
in_prefix() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    HOME="$work/home" XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/share:/usr/share" \
    GIO_USE_VFS=local "$@"
}

# printf escapes for N zero bytes, and for a little-endian 32-bit number.
zeros() { local i out=; for ((i = 0; i < $1; i++)); do out+='\0'; done; printf %s "$out"; }
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
  $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { # NAME WANTED|!UNWANTED: both readers agree with the expectation
  local file="$work/files/$1" reader got
  for reader in xdg gio; do
    if [ $reader = xdg ]; then
      got=$(in_prefix xdg-mime query filetype "$file")
    else
      got=$(in_prefix gio info -a standard::content-type "$file" |
        sed -n 's/^ *standard::content-type: //p')
    fi
    case $2 in
    !*) [ "$got" != "${2#!}" ] || fail "$1 ($reader): taken for ${2#!}" ;;
    *) [ "$got" = "$2" ] || fail "$1 ($reader): $got, wanted $2" ;;
    esac
    echo "$reader $1: $got"
  done
}
file_of() { printf "$2" >"$work/files/$1"; } # NAME BYTES

# Templates as the tracker writes them: the header of each layout, no items.
v4() { printf %s "$(le32 4)$1$(zeros $((25 - ${#1})))$(le32 7)$(le32 9)$(zeros 63)$(le32 0)"; }
legacy() { printf %s "$1$(zeros $((62 - $2)))$(le32 0)$(le32 0)"; } # HEAD_ESCAPES HEAD_BYTES
file_of version4 "$(v4 'Veltimo Solo File')"
file_of version4-managed "$(v4 'MSProject File')"
file_of version4-untyped "$(v4 '')"
file_of tag512 "$(legacy '\0\x02' 2)"
file_of tag768 "$(legacy '\0\x03' 2)"
file_of tag512-managed "$(legacy 'ATraining plan' 14)"
for name in version4 version4-managed version4-untyped tag512 tag768 tag512-managed; do
  size=$(stat -c %s "$work/files/$name")
  [ "$size" = "$([[ $name = version4* ]] && echo 104 || echo 70)" ] || fail "$name: $size bytes"
  check $name "$want"
  cp "$work/files/$name" "$work/home/$name.tpl"
  in_prefix "$cli" levels "$work/home/$name.tpl" >/dev/null || fail "$name: vsolo-cli refuses it"
done
file_of named.tpl 'any content at all'
check named.tpl "$want"

# Files that begin like a template but are none, and common files.
file_of data.bin '\x04\x00\x00\x00hello'
file_of longer-type "$(le32 4)Veltimo Solo Files and more$(zeros 80)"
file_of tag512-then-text "$(le32 512)plain words in the header$(zeros 50)"
file_of tag768-then-text "$(le32 768)plain words in the header$(zeros 50)"
file_of untyped-not-reserved "$(le32 4)$(zeros 25)$(le32 1)$(le32 1)not zero$(zeros 60)"
file_of atra.txt 'ATrain leaves at noon.\n'
file_of atra-negative "ATra header$(zeros 51)\xff\xff\xff\xff$(le32 0)"
file_of five.dat '\x05\x00\x00\x00\x01\x02\x03\x04\x05\x06'
for name in data.bin longer-type tag512-then-text tag768-then-text untyped-not-reserved \
  atra.txt atra-negative five.dat; do
  check $name "!$want"
done
: >"$work/files/empty"
check empty "!$want"
file_of plain.txt 'just some words\n'
check plain.txt text/plain
file_of picture '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90\x77\x53\xde'
check picture image/png
file_of document '%%PDF-1.4\n%%\xe2\xe3\xcf\xd3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n'
check document application/pdf

handler=$(in_prefix xdg-mime query default "$want")
if [ "$handler" != "$(basename "$entry")" ]; then
  fail "handler: '$handler', wanted $(basename "$entry")"
fi
exit $((failures > 0))
