#!/usr/bin/env bash
# Closes the real window again and again as a window manager does, each time with lists on
# both pages: one participant added on the creation page and a list file loaded on the
# editing page, and with "edit" a cell edit left open. Every close must end the program
# with status 0 within a second. Prints one line per close and a summary.
#
# Usage: close_loop.sh PROGRAM WM_CLOSE COUNT [plain|edit|both]
# Coordinates are those of the 1024x768 window, as in round_trip.sh.
set -euo pipefail

program=$1
wm_close=$2
count=$3
mode=${4:-both}

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null || true
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

list='['
for i in $(seq 40); do
  list+='{"birthDate":"07.03.2000","group":"Школа 5","gtoUuid":"1234567890'$((i % 10))'",'
  list+='"isGto":true,"name":"Иванова Мария '$i'","organization":"Школа 5","sex":"Ж","step":"6.0"},'
done
printf '%s\n' "${list%,}]" >"$work/list.json"

click() {
  xdotool mousemove --window "$wid" "$1" "$2" click 1
  sleep 0.15
}
retype() {
  click "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 20 "$3"
}

failures=0
slowest=0
run() {
  local n=$1 edit=$2
  "$program" >"$work/app.log" 2>&1 &
  app_pid=$!
  # A window that appears while xdotool looks at another one makes it fail: look again.
  wid=
  for _ in 1 2 3; do
    wid=$(timeout 20 xdotool search --sync --classname '^quillor-list-exporter$' 2>/dev/null |
      head -n 1) && [ -n "$wid" ] && break
  done
  [ -n "$wid" ] || {
    echo "close $n: the window did not appear" >&2
    failures=$((failures + 1))
    kill -9 "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
    return
  }
  sleep 0.5
  # Creation page, training mode: one participant.
  click 178 93
  retype 400 190 'Club'
  retype 400 230 '5A'
  retype 400 270 'Petrov'
  click 334 310
  # Editing page: the list, and the first row's name cell left in its editor.
  click 170 12
  retype 600 68 "$work/list.json"
  click 512 109
  sleep 0.3
  if [ "$edit" = edit ]; then
    click 60 230
    xdotool type --delay 15 'x'
  fi

  "$wm_close" "$wid"
  local start end status=timeout
  start=$(date +%s%N)
  # Up to 5 s, so that a slow close is measured; over 1 s counts as a failure.
  for _ in $(seq 500); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      status=0
      wait "$app_pid" || status=$?
      break
    fi
    sleep 0.01
  done
  end=$(date +%s%N)
  local ms=$(((end - start) / 1000000))
  [ "$ms" -gt "$slowest" ] && slowest=$ms
  if [ "$status" = timeout ]; then
    kill -ABRT "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  app_pid=
  local verdict=ok
  if [ "$status" != 0 ] || [ "$ms" -gt 1000 ] || [ -s "$work/app.log" ]; then
    verdict=FAIL
    failures=$((failures + 1))
  fi
  echo "close $n ($edit): status $status after $ms ms $verdict"
  if [ "$verdict" = FAIL ] && [ -s "$work/app.log" ]; then
    sed 's/^/  program: /' "$work/app.log"
  fi
}

total=0
for n in $(seq "$count"); do
  case $mode in
  plain | edit) run "$n" "$mode" ;;
  both)
    run "$n" plain
    run "$n" edit
    total=$((total + 1))
    ;;
  esac
  total=$((total + 1))
done
echo "$((total - failures)) passed, $failures failed; slowest close $slowest ms"
[ "$failures" = 0 ]
