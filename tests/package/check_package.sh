#!/usr/bin/env bash
# Checks the Debian package made from the build in BUILD: lintian finds no errors or
# warnings (its icons' sizes among them), the package holds exactly the expected files,
# its desktop entry and metainfo are valid, and the unpacked program, run with the
# system's Qt, opens a list named on its command line on the editing page: its window's
# two tabs and the editing page's count of the list's records show on the accessibility
# bus. Installs nothing; needs no display.
#
# Usage: tests/package/check_package.sh BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
work=$(mktemp -d -t quillor-package.XXXXXX)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  if [ -s "$work/bus/pids" ]; then
    mapfile -t bus_pids <"$work/bus/pids"
    kill "${bus_pids[@]}" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$work/out/quillor-list-exporter_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb")"

# Root or not, lintian's notice about running as root is no finding.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
  fail "lintian reports errors or warnings"

root=$work/root
dpkg-deb -x "$deb" "$root"
icons=
for size in 16 22 24 32 48 64 128 256; do
  icons+="usr/share/icons/hicolor/${size}x${size}/apps/quillor-list-exporter.png"$'\n'
done
expected=$(sort <<LIST
usr/bin/quillor-list-exporter
usr/share/applications/quillor-list-exporter.desktop
usr/share/doc/quillor-list-exporter/changelog.gz
usr/share/doc/quillor-list-exporter/copyright
${icons}usr/share/man/man1/quillor-list-exporter.1.gz
usr/share/man/ru/man1/quillor-list-exporter.1.gz
usr/share/metainfo/example.orvend.quillor_list_exporter.metainfo.xml
LIST
)
actual=$(cd "$root" && find . -type f -printf '%P\n' -o -type l -printf '%P\n' | sort)
[ "$actual" = "$expected" ] || fail "files differ from the expected list:
$(diff <(echo "$expected") <(echo "$actual"))"

desktop-file-validate "$root/usr/share/applications/quillor-list-exporter.desktop" ||
  fail "the desktop entry is not valid"
appstreamcli validate --no-net \
  "$root/usr/share/metainfo/example.orvend.quillor_list_exporter.metainfo.xml" >"$work/as.log" ||
  { cat "$work/as.log" >&2; fail "the metainfo is not valid"; }
grep -q "<release version=\"$version\"" \
  "$root/usr/share/metainfo/example.orvend.quillor_list_exporter.metainfo.xml" ||
  fail "the metainfo names another release than $version"
[ "$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/quillor-list-exporter" --version)" = \
  "quillor list exporter $version" ] || fail "--version does not name $version"

# The unpacked program with the system's Qt and QML modules alone, on a list named on its
# command line, under its own X server and buses.
unset QML2_IMPORT_PATH QML_IMPORT_PATH QT_PLUGIN_PATH QT_QPA_PLATFORM QT_QUICK_BACKEND
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/home/data
export XDG_CONFIG_HOME=$work/home/config QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
mkdir -p "$HOME" "$work/bus" && mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '%s\n' '[{"group":"5А","isGto":false,"name":"Петров Илья","organization":"СК «Старт»"}]' \
  >"$work/список участников.json"
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1024x768x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
read -r -t 20 -u "$displayfd" display || fail "Xvfb did not start"
export DISPLAY=:$display
source "$here/../common/a11y_session.sh"
why=$(a11y_session_start "$work/bus") || fail "$why"
cd "$work"
"$root/usr/bin/quillor-list-exporter" "список участников.json" >"$work/app.log" 2>&1 &
app=$!
/usr/bin/python3 "$here/shown_tabs.py" "quillor list exporter" 60 "Записей: 1. Повторов: 0" \
  >"$work/tabs" 2>"$work/bus.log" ||
  { cat "$work/bus.log" "$work/app.log" >&2; fail "the list did not show on the editing page"; }
kill "$app"
wait "$app" || true
[ "$(cat "$work/tabs")" = $'Создание списка\nРедактирование списка' ] ||
  fail "the tabs are not the two pages: $(cat "$work/tabs")"
[ ! -s "$work/app.log" ] || fail "the program printed: $(cat "$work/app.log")"
echo "package $(basename "$deb") is complete: $(stat -c %s "$deb") bytes"
