#!/usr/bin/env bash
# Closes the real window again and again as a window manager does, each time with lists on
# both pages: one participant added on the creation page and a list file loaded on the
# editing page, and with "edit" a cell edit left open. Every close must end the program
# with status 0 within a second and nothing printed. Prints one line per close and a
# summary: median, 90th percentile and slowest close.
#
# Usage: close_loop.sh PROGRAM WM_CLOSE COUNT [plain|edit|both] [ARTIFACT_DIR]
# "both" (the default) closes COUNT times without and COUNT times with a cell edit.
set -euo pipefail

count=$3
mode=${4:-both}
source "$(dirname "$0")/drive.sh"
case $mode in
plain | edit) closes=$count ;;
both) closes=$((2 * count)) ;;
*) echo "usage: close_loop.sh PROGRAM WM_CLOSE COUNT [plain|edit|both] [ARTIFACT_DIR]" >&2; exit 2 ;;
esac
drive_begin $((90 + 60 * closes)) "$1" "$2" "${5:-}"

list='['
for i in $(seq 40); do
  list+='{"birthDate":"07.03.2000","group":"Школа 5","gtoUuid":"1234567890'$((i % 10))'",'
  list+='"isGto":true,"name":"Иванова Мария '$i'","organization":"Школа 5","sex":"Ж","step":"6.0"},'
done
printf '%s\n' "${list%,}]" >"$work/list.json"

times=()
failures=0
close_once() {
  local n=$1 edit=$2
  # Each start as the first: the last close left its lists behind for recovery.
  rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
  drive_start_program "$program"
  creation_switch_to_training
  creation_add_training Club 5A 'Petrov Ilya'
  editing_load "$work/list.json" 40
  if [ "$edit" = edit ]; then
    # A click makes the first row's name the current cell, F2 edits it, one letter typed.
    click_on "table cell" "Имя, строка 1"
    press F2
    wait_focus text "Имя, строка 1"
    expect_field 'Иванова Мария 1' "the first row's name cell"
    press x
  fi

  drive_request_close "$wm_close" 5
  times+=("$close_ms")
  local verdict=ok
  if [ "$close_status" != 0 ] || [ "$close_ms" -gt 1000 ] || [ -s "$work/app.log" ]; then
    verdict=FAIL
    failures=$((failures + 1))
  fi
  if [ "$close_status" = running ]; then
    kill -9 "$drive_pid" 2>/dev/null || true
    wait "$drive_pid" 2>/dev/null || true
  fi
  drive_pid=
  echo "close $n ($edit): status $close_status after $close_ms ms $verdict"
  if [ -s "$work/app.log" ]; then
    sed 's/^/  program: /' "$work/app.log"
  fi
  return 0
}

for n in $(seq "$count"); do
  case $mode in
  plain | edit) close_once "$n" "$mode" ;;
  both)
    close_once "$n" plain
    close_once "$n" edit
    ;;
  esac
done

mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
total=${#sorted[@]}
median=${sorted[$(((total - 1) / 2))]}
((total % 2)) || median=$(((median + sorted[total / 2]) / 2))
p90=${sorted[$(((9 * total + 9) / 10 - 1))]}
over=0
for ms in "${sorted[@]}"; do
  if ((ms > 1000)); then over=$((over + 1)); fi
done
echo "closes: $total; median $median ms, 90th percentile $p90 ms, slowest ${sorted[total - 1]} ms; over 1 s: $over"
echo "$((total - failures)) passed, $failures failed"
[ "$failures" = 0 ]
