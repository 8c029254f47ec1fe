#!/usr/bin/env bash
# Closes the real window, with copied text on the clipboard, beside a clipboard manager
# that never answers. The program must end by itself with status 0 and nothing printed:
# waiting for the manager would take five seconds and end in Qt's complaint about it.
#
# Usage: clipboard_close.sh STARTUP_PROBE SILENT_CLIPBOARD_MANAGER
set -euo pipefail

source "$(dirname "$0")/drive.sh"
drive_begin 40 "$1" ""
manager=$2

"$manager" >"$work/manager" &
manager_pid=$!
echo "$manager_pid" >>"$work/pids"
trap 'kill "$manager_pid" 2>/dev/null || true; drive_cleanup' EXIT
for _ in $(seq 100); do
  [ -s "$work/manager" ] && break
  sleep 0.05
done
[ "$(cat "$work/manager")" = ready ] || drive_fail "the clipboard manager did not start"

status=0
timeout 20 "$program" qrc:/qml/main.qml --copy >"$work/out" 2>"$work/app.log" || status=$?
[ "$status" = 0 ] || drive_fail "exit status $status"
[ -s "$work/app.log" ] && drive_fail "the program printed warnings"
grep -q '|1024x768|' "$work/out" || drive_fail "the probe printed: $(cat "$work/out")"
echo "PASS: the program ended with status 0 and printed nothing"
