#!/usr/bin/env bash
# Closes the real window, with copied text on the clipboard, beside a clipboard manager
# that never answers. The program must end by itself with status 0 and nothing printed:
# waiting for the manager would take five seconds and end in Qt's complaint about it.
#
# Usage: clipboard_close.sh STARTUP_PROBE SILENT_CLIPBOARD_MANAGER
set -euo pipefail

probe=$1
manager=$2

work=$(mktemp -d)
xvfb_pid=
manager_pid=
cleanup() {
  [ -n "$manager_pid" ] && kill "$manager_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
unset QT_QUICK_BACKEND
export QT_QPA_PLATFORM=xcb

"$manager" >"$work/manager" &
manager_pid=$!
for _ in $(seq 100); do
  [ -s "$work/manager" ] && break
  sleep 0.05
done
[ "$(cat "$work/manager")" = ready ] || { echo "FAIL: the clipboard manager did not start" >&2; exit 1; }

status=0
timeout 20 "$probe" qrc:/qml/main.qml --copy >"$work/out" 2>"$work/err" || status=$?
if [ "$status" != 0 ] || [ -s "$work/err" ] || ! grep -q '|1024x768|' "$work/out"; then
  echo "FAIL: exit status $status; the program printed:" >&2
  cat "$work/out" "$work/err" >&2
  exit 1
fi
echo "PASS: the program ended with status 0 and printed nothing"
