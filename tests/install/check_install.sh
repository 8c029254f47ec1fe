#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that a Linux desktop finds the
# program there: the executable, its desktop entry and its icon.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prefix/bin/quillor-list-exporter" ] || fail "no executable in bin"
desktop=$prefix/share/applications/quillor-list-exporter.desktop
[ -f "$desktop" ] || fail "no desktop entry"
icon=$prefix/share/icons/hicolor/256x256/apps/quillor-list-exporter.png
[ -f "$icon" ] || fail "no icon"
[ "$(identify -format '%wx%h' "$icon")" = 256x256 ] || fail "icon is not 256x256"

grep -qx '\[Desktop Entry\]' "$desktop" || fail "no [Desktop Entry] group"
grep -qx 'Type=Application' "$desktop" || fail "not an application entry"
grep -qx 'Name=quillor list exporter' "$desktop" || fail "wrong name"
grep -qx 'Exec=quillor-list-exporter %f' "$desktop" || fail "Exec does not hand the program a file"
grep -qx 'MimeType=application/json;' "$desktop" || fail "JSON lists are not offered to the program"
grep -qx 'Icon=quillor-list-exporter' "$desktop" || fail "Icon does not name the installed icon"
# Cyrillic letters begin with byte D0 or D1 in UTF-8.
LC_ALL=C grep -q $'^Comment=.*[\xd0\xd1]' "$desktop" || fail "no Russian comment"
echo "installed layout is complete"
