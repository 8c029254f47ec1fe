#!/usr/bin/env bash
# Drives the real program in a real X window the way an operator would: types three
# participants on the creation page and saves them, loads that file on the editing page,
# changes a birth date, deletes a row, saves a second file and closes the window as a
# window manager does. Checks both files byte for byte, the window size and the exit status.
#
# Usage: round_trip.sh PROGRAM WM_CLOSE [ARTIFACT_DIR]
# Coordinates are those of the 1024x768 window with the fonts of a Debian 12 machine.
set -euo pipefail

program=$1
wm_close=$2
artifacts=${3:-}

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool is not installed (scripts/setup installs it)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -n "$artifacts" ] && [ -n "${wid:-}" ] && command -v import >/dev/null; then
    mkdir -p "$artifacts"
    import -window "$wid" "$artifacts/e2e-failure.png" 2>/dev/null &&
      echo "The window at the failure: $artifacts/e2e-failure.png" >&2
  fi
  [ -s "$work/app.log" ] && { echo "The program printed:" >&2; cat "$work/app.log" >&2; }
  exit 1
}

# Our own server on a free display; it writes the display number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
unset QT_QUICK_BACKEND
export QT_QPA_PLATFORM=xcb
"$program" >"$work/app.log" 2>&1 &
app_pid=$!

# Without a window manager only the class name picks the real top-level window.
wid=$(timeout 20 xdotool search --sync --classname '^quillor-list-exporter$' | head -n 1) ||
  fail "the window did not appear"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 1024 ] && [ "$HEIGHT" = 768 ] || fail "window is ${WIDTH}x${HEIGHT}, not 1024x768"
sleep 1

click() {
  xdotool mousemove --window "$wid" "$1" "$2" click 1
  sleep 0.3
}
# Replaces a plain text field's content with the given text.
retype() {
  click "$1" "$2"
  xdotool key ctrl+a
  if [ -n "$3" ]; then xdotool type --delay 60 "$3"; else xdotool key BackSpace; fi
}
# A click puts the cursor of a masked field at its start; typing then overwrites it.
type_masked() {
  click "$1" "$2"
  xdotool type --delay 40 "$3"
}
# Saving happens on the program's side; wait until the file appears.
wait_for_file() {
  for _ in $(seq 50); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  fail "$1 was not written"
}

# Birthdays on the first of January keep the ages, and so the steps, independent of the day.
year=$(date +%Y)
born20=$((year - 20))
born35=$((year - 35))
born47=$((year - 47))

# Creation page, GTO mode: the field rows, top to bottom.
retype 450 190 'Школа 5'
retype 450 230 'Иванов Пётр'
type_masked 450 270 '12345678901'
type_masked 450 310 "0101$born20"
xdotool key Tab Down # sex: "М"
retype 450 475 '17'
retype 450 515 'КМС'
click 334 555 # "Добавить"

retype 450 190 'Лицей 2'
retype 450 230 'Сидорова Анна'
type_masked 450 270 '10987654321'
type_masked 450 310 "0101$born47"
xdotool key Tab Down # sex: "Ж"
retype 450 475 ''
retype 450 515 ''
click 334 555

click 178 93 # training mode: the label column narrows, the fields move left
retype 400 190 'Клуб "Старт"'
retype 400 230 '5А'
retype 400 270 '  Петров   Илья '
click 334 310 # "Добавить"

retype 400 422 "$work/first.json"
click 334 462 # "Сохранить список"
wait_for_file "$work/first.json"

# Editing page.
click 170 12
retype 600 68 "$work/first.json"
click 512 109 # "Загрузить список"
sleep 0.5
click 166 270 # first row's birth date
xdotool key ctrl+a
xdotool type --delay 40 "01.01.$born35"
xdotool key Return
sleep 0.3
click 850 297 # "Удалить" in the second row
retype 600 68 "$work/second.json"
click 512 149 # "Сохранить список"
wait_for_file "$work/second.json"

"$wm_close" "$wid" || fail "could not send the close request"
status=
for _ in $(seq 100); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    status=0
    wait "$app_pid" || status=$?
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "the program did not end after the close request"
app_pid=

expected_first='[{"birthDate":"01.01.'$born20'","group":"Школа 5","gtoUuid":"12345678901","isGto":true,"name":"Иванов Пётр","organization":"Школа 5","sex":"М","step":"6.0","pectoralNumber":"17","athleticRank":"КМС"},{"birthDate":"01.01.'$born47'","group":"Лицей 2","gtoUuid":"10987654321","isGto":true,"name":"Сидорова Анна","organization":"Лицей 2","sex":"Ж","step":"8.2"},{"group":"5А","isGto":false,"name":"Петров Илья","organization":"Клуб \"Старт\""}]'
expected_second='[{"birthDate":"01.01.'$born35'","group":"Школа 5","gtoUuid":"12345678901","isGto":true,"name":"Иванов Пётр","organization":"Школа 5","sex":"М","step":"7","pectoralNumber":"17","athleticRank":"КМС"},{"group":"5А","isGto":false,"name":"Петров Илья","organization":"Клуб \"Старт\""}]'

check_file() {
  printf '%s\n' "$2" >"$work/expected"
  cmp -s "$work/expected" "$1" || {
    echo "expected: $(cat "$work/expected")" >&2
    echo "written:  $(cat "$1")" >&2
    fail "$(basename "$1") differs"
  }
}
check_file "$work/first.json" "$expected_first"
check_file "$work/second.json" "$expected_second"
[ "$status" = 0 ] || fail "exit status $status after the window closed"
[ -s "$work/app.log" ] && fail "the program printed warnings"
echo "PASS: both files as expected, window 1024x768, exit status 0"
