# shellcheck shell=bash
# shellcheck disable=SC2034 # program, wm_close and close_ms are for the scripts that source it
# Drives the real program in its own X server with real keys and clicks, as an operator
# would; the end-to-end tests and the screenshot script source this file and share its
# steps. Each control is found by its accessible name and its place on the accessibility
# bus, through one helper (atspi_driver.py) that runs beside the program; every wait is
# for a condition, within a generous limit.
#
# A test calls drive_begin with its time limit and its own arguments; a script of another
# kind sets `work` (a scratch folder of its own) and may set `artifacts` (a folder for a
# picture of the window when a step fails). Every step either succeeds or ends the script
# through drive_fail, which prints FAIL.

drive_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$drive_dir/../common/a11y_session.sh"
drive_pid=
drive_server_pid=
drive_watchdog_pid=
wid=

drive_failed=

drive_fail() {
  drive_failed=1
  echo "FAIL: $*" >&2
  if [ -n "${artifacts:-}" ] && [ -n "$wid" ] && command -v import >/dev/null; then
    mkdir -p "$artifacts"
    timeout 5 import -window "$wid" "$artifacts/failure.png" 2>/dev/null &&
      echo "The window at the failure: $artifacts/failure.png" >&2
  fi
  if [ -s "$work/app.log" ]; then
    echo "The program printed:" >&2
    cat "$work/app.log" >&2
  fi
  if [ -s "$work/atspi.log" ]; then
    echo "The accessibility helper printed:" >&2
    cat "$work/atspi.log" >&2
  fi
  exit 1
}

drive_cleanup() {
  local status=$?
  # A command that failed under set -e or an unset variable under set -u ends the script
  # without passing through drive_fail; it still says FAIL.
  if [ "$status" -ne 0 ] && [ -z "$drive_failed" ]; then
    echo "FAIL: the script stopped at an unexpected error (status $status)" >&2
  fi
  # Its sleep would keep the test's output open long after the script ended.
  [ -n "$drive_watchdog_pid" ] &&
    kill $(pgrep -P "$drive_watchdog_pid") "$drive_watchdog_pid" 2>/dev/null
  if [ -n "$drive_pid" ]; then
    { kill -9 "$drive_pid" && wait "$drive_pid"; } 2>/dev/null || true
  fi
  # The helper, the buses and the server.
  if [ -n "${drive_atspi_pid:-}" ]; then
    { kill "$drive_atspi_pid" && wait "$drive_atspi_pid"; } 2>/dev/null || true
  fi
  if [ -s "$work/bus/pids" ]; then
    mapfile -t bus_pids <"$work/bus/pids"
    kill "${bus_pids[@]}" 2>/dev/null || true
  fi
  if [ -n "$drive_server_pid" ]; then
    { kill "$drive_server_pid" && wait "$drive_server_pid"; } 2>/dev/null || true
  fi
  rm -rf "$work"
}

# Ends the whole script with FAIL once `seconds` have passed, whatever step hangs. Bash
# would hold a trapped signal until a hung command returned, so the watchdog ends the
# script, the program and the server itself.
drive_time_limit() {
  local seconds=$1 script=$$
  (
    sleep "$seconds"
    kill -0 "$script" 2>/dev/null || exit 0
    echo "FAIL: no result within $seconds seconds" >&2
    if [ -s "$work/app.log" ]; then
      echo "The program printed:" >&2
      cat "$work/app.log" >&2
    fi
    mapfile -t started < <(cat "$work/pids" "$work/bus/pids" 2>/dev/null)
    kill -9 "$script" "${started[@]}" 2>/dev/null
    rm -rf "$work"
  ) </dev/null >/dev/null &
  drive_watchdog_pid=$!
  disown "$drive_watchdog_pid"
}

# For the end-to-end tests, whose arguments are PROGRAM WM_CLOSE [ARTIFACT_DIR]: a scratch
# folder removed on every exit, the time limit, and the server.
drive_begin() {
  local seconds=$1
  program=$2
  wm_close=$3
  artifacts=${4:-}
  work=$(mktemp -d)
  trap drive_cleanup EXIT
  drive_time_limit "$seconds"
  drive_start_server
}

drive_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || drive_fail "$tool is not installed (scripts/setup --tests installs it)"
  done
}

# Our own server on a free display, with -noreset so that the root window keeps the
# accessibility bus's address between clients; it writes the display number once it
# accepts clients. Then the buses, and the helper that reads the program on them.
drive_start_server() {
  drive_require Xvfb xdotool xprop dbus-daemon dbus-send
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  drive_server_pid=$!
  echo "$drive_server_pid" >>"$work/pids"
  local i
  for i in $(seq 300); do
    [ -s "$work/display" ] && break
    kill -0 "$drive_server_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$work/display" ] || drive_fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  DISPLAY=":$(head -n 1 "$work/display")"
  export DISPLAY
  mkdir -m 700 "$work/runtime"
  mkdir "$work/bus"
  export XDG_RUNTIME_DIR=$work/runtime
  # Recovery files and the file dialog's settings stay in the scratch folder.
  export XDG_DATA_HOME=$work/data
  export XDG_CONFIG_HOME=$work/config
  export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  unset QT_QUICK_BACKEND
  local why
  why=$(a11y_session_start "$work/bus") || drive_fail "$why"
  coproc drive_atspi { exec /usr/bin/python3 "$drive_dir/atspi_driver.py" 2>"$work/atspi.log"; }
  drive_atspi_pid=${drive_atspi_PID:?}
  echo "$drive_atspi_pid" >>"$work/bus/pids"
  local ready
  IFS= read -r -t 120 ready <&"${drive_atspi[0]}" || ready=
  [ "$ready" = "ok ready" ] ||
    drive_fail "the accessibility helper did not start: $(cat "$work/atspi.log")"
}

# Sends one command to the helper and leaves its answer in `reply`; an error ends the
# script. Its own waits end before this one.
atspi() {
  local IFS=$'\t'
  printf '%s\n' "$*" >&"${drive_atspi[1]}" || drive_fail "the accessibility helper has gone"
  IFS= read -r -t 600 reply <&"${drive_atspi[0]}" ||
    drive_fail "the accessibility helper gave no answer to: $*"
  [[ $reply == ok* ]] || drive_fail "${reply#error: }"
  reply=${reply#ok}
  reply=${reply# }
}

# Starts the program and gives its window the keyboard once it shows on the bus. Nothing
# in the window has the focus yet.
drive_start_program() {
  "$1" >"$work/app.log" 2>&1 &
  drive_pid=$!
  echo "$drive_pid" >>"$work/pids"
  atspi app 60
  # Without a window manager only the class name picks the real top-level window; xdotool
  # gives up when a window goes while it looks at it, and looks again then.
  local i
  wid=
  for i in $(seq 100); do
    wid=$(timeout 10 xdotool search --onlyvisible --classname '^quillor-list-exporter$' \
          2>/dev/null | head -n 1) || true
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || drive_fail "the window did not appear"
  timeout 30 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
}

press() {
  timeout 30 xdotool key --delay 20 "$@" || drive_fail "could not press $*"
}

# Sets found_x, found_y, found_w and found_h to the place of the N-th showing element with
# this ROLE and NAME (see atspi_driver.py), waiting for it to show.
locate() {
  atspi find 30 "$1" "$2" "${3:-0}"
  read -r found_x found_y found_w found_h <<<"$reply"
}

# Clicks the middle of an element found by its role and name. The server takes the move
# before the click, in order; --sync would wait forever when the pointer is there already.
click_on() {
  locate "$@"
  timeout 30 xdotool mousemove $((found_x + found_w / 2)) $((found_y + found_h / 2)) \
    click 1 || drive_fail "could not click $1 '$2'"
}

# Waits until the element with this role and name has the keyboard focus.
wait_focus() {
  atspi focus 30 "$1" "$2"
}

# Presses Tab (or the key given third) until the element with this role and name has the
# focus, at most once for each element that takes the focus.
tab_to() {
  local key=${3:-Tab} i
  for i in $(seq 80); do
    atspi_try focus 0 "$1" "$2" && return 0
    press "$key"
  done
  atspi focused
  drive_fail "$key did not bring the focus to $1 '$2'; ${reply/$'\t'/ } has it"
}

# As atspi, but any answer other than "ok" returns 1.
atspi_try() {
  local IFS=$'\t'
  printf '%s\n' "$*" >&"${drive_atspi[1]}" || drive_fail "the accessibility helper has gone"
  IFS= read -r -t 600 reply <&"${drive_atspi[0]}" ||
    drive_fail "the accessibility helper gave no answer to: $*"
  [[ $reply == ok* ]]
}

# Waits until an element with this role and name shows, or no longer shows.
wait_shown() {
  atspi find 60 "$1" "$2" "${3:-0}"
}
wait_gone() {
  atspi gone 60 "$1" "$2"
}

# What the focused text field holds.
field_text() {
  atspi focustext 30
  printf '%b' "${reply//%/%%}"
}

# Replaces the focused field's text and reads it back, typing again, slower each time, when
# a key was lost (letters outside the keyboard map are sent one at a time and go missing
# on a busy machine).
enter() {
  local delay held
  for delay in 60 120 250 500; do
    press ctrl+a
    if [ -n "$1" ]; then
      timeout 60 xdotool type --delay "$delay" "$1" || drive_fail "could not type $1"
    else
      press BackSpace
    fi
    held=$(field_text)
    [ "$held" = "$1" ] && return 0
  done
  drive_fail "the field holds '$held' after typing '$1' four times"
}

# Clicks the text field with this name and types VALUE into it.
fill() {
  click_on text "$1"
  wait_focus text "$1"
  enter "$2"
}

# Checks what the focused field holds before going on.
expect_field() {
  local held
  held=$(field_text)
  [ "$held" = "$1" ] || drive_fail "${2:-the focused field} holds '$held', not '$1'"
}

# Waits until FILE is there and reads as complete: a list or CSV file ends with its line
# end, a spreadsheet's zip and a PDF with their closing records.
wait_for_file() {
  local i
  for i in $(seq 600); do
    if [ -s "$1" ]; then
      case $1 in
      *.xlsx) /usr/bin/python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).testzip()' \
                "$1" 2>/dev/null && return 0 ;;
      *.pdf) tail -c 32 "$1" | grep -q '%%EOF' && return 0 ;;
      *) [ "$(tail -c 1 "$1" | od -An -c | tr -d ' ')" = '\n' ] && return 0 ;;
      esac
    fi
    sleep 0.1
  done
  drive_fail "$1 was not written"
}

# Asks the window to close as a window manager does and waits up to `seconds` for the
# program to end; sets close_ms, the time it took, and close_status, its exit status or
# "running".
drive_request_close() {
  local seconds=$2 start now
  "$1" "$wid" || drive_fail "could not send the close request"
  start=${EPOCHREALTIME/./}
  close_status=running
  while :; do
    now=${EPOCHREALTIME/./}
    if ! kill -0 "$drive_pid" 2>/dev/null; then
      close_status=0
      wait "$drive_pid" || close_status=$?
      break
    fi
    ((now - start < seconds * 1000000)) || break
    sleep 0.01
  done
  close_ms=$(((now - start) / 1000))
}

# Closes the window as a window manager does; the program must end with status 0 within
# a second.
drive_close() {
  drive_request_close "$1" 1
  [ "$close_status" != running ] ||
    drive_fail "the program did not end within a second of the close request"
  drive_pid=
  [ "$close_status" = 0 ] || drive_fail "exit status $close_status after the window closed"
}

# --- Recovery --------------------------------------------------------------------------

# This run's recovery files and those left by earlier ones.
recovery_folder() {
  echo "$XDG_DATA_HOME/Orvend Electronics/quillor list exporter/recovery"
}

# "Восстановить" pressed on the page's bar.
recovery_restore() {
  click_on "push button" "Восстановить несохранённый список"
  wait_gone "push button" "Восстановить несохранённый список"
}

# The number of records in the one recovery file of the page ("creation" or "editing"),
# read by Python's json module; "none" when there is no such file.
recovery_count() {
  local files=("$(recovery_folder)"/*."$1".recovery)
  [ -f "${files[0]}" ] || { echo none; return 0; }
  /usr/bin/python3 -c '
import json, sys
header, rows, end = open(sys.argv[1], encoding="utf-8").read().split("\n")
assert json.loads(header)["page"] == sys.argv[2] and end == ""
print(len(json.loads(rows)))' "${files[0]}" "$1" 2>/dev/null
}

# Waits until the page's recovery file holds `count` records.
wait_for_recovery() {
  local i
  for i in $(seq 300); do
    [ "$(recovery_count "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  drive_fail "no recovery file of the $1 page with $2 records (now: '$(recovery_count "$1")')"
}

# --- Creation page ---------------------------------------------------------------------

# Picks the sex in its box. A click would open the box's menu, which is not on the bus and
# leaves the focus where it was: Tab brings the focus, and the arrows choose, "М" one below
# the blank, "Ж" two.
creation_pick_sex() {
  tab_to "combo box" "Пол"
  press Up Up
  if [ "$1" = Ж ]; then press Down Down; else press Down; fi
  atspi described 30 "combo box" "Пол" "Выбрано: $1"
}

# Fills the GTO form and adds the entry with a click on "Добавить"; waits until the added
# records show it. Sex is "М" or "Ж"; empty bib number or rank clear them.
creation_add_gto() {
  creation_fill_gto "$@"
  creation_add
}

creation_fill_gto() {
  local organization=$1 name=$2 uuid=$3 birth_date=$4 sex=$5 bib=$6 rank=$7
  fill "Организация" "$organization"
  fill "Фамилия, имя, отчество" "$name"
  fill "УИНН" "$uuid"
  fill "Дата рождения" "$birth_date"
  creation_pick_sex "$sex"
  fill "Нагрудный номер" "$bib"
  fill "Спортивный разряд" "$rank"
}

# "Добавить" clicked; waits until the added records show one more.
creation_add() {
  atspi count "list item" "*"
  local before=$reply
  click_on "push button" "Добавить"
  atspi find 30 "list item" "*" "$before"
}

creation_switch_to_training() {
  click_on "radio button" "Соревнование/Тренировка"
  wait_shown text "Группа (класс)"
}

# Fills the training form and adds the entry.
creation_add_training() {
  fill "Организация" "$1"
  fill "Группа (класс)" "$2"
  fill "Фамилия, имя, отчество" "$3"
  creation_add
}

# The path typed and the list saved.
creation_save() {
  fill "Путь к файлу" "$1"
  click_on "push button" "Сохранить список"
  wait_for_file "$1"
}

# --- Editing page ----------------------------------------------------------------------

# The editing page shown, a path typed and the list loaded: the status line counts the
# RECORDS.
editing_load() {
  click_on "page tab" "~Редактирование списка"
  fill "Путь к файлу" "$1"
  click_on "push button" "Загрузить список"
  wait_shown "status bar" "~Записей: $2."
}

# The rows sorted by the column titled TITLE; waits for its title to say so.
editing_sort() {
  click_on "table column header" "$1"
  atspi described 30 "table column header" "$1" "по возрастанию"
}

# From the path field the list saved under a new path.
editing_save() {
  fill "Путь к файлу" "$1"
  click_on "push button" "Сохранить список"
  wait_for_file "$1"
}

# A file dialog is a window of its own; it gets the keyboard once it shows on the bus and
# the server lists it. xdotool gives up when a window goes while it looks at it, and looks
# again then.
focus_dialog() {
  wait_shown frame "$1"
  local dialog _
  for _ in $(seq 100); do
    dialog=$(timeout 10 xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
    [ -n "$dialog" ] && timeout 10 xdotool windowfocus --sync "$dialog" 2>/dev/null && return 0
    sleep 0.1
  done
  drive_fail "the dialog \"$1\" did not take the keyboard focus"
}

# Exports with the button of this name into the file its dialog suggests, EXPECTED.
editing_export() {
  click_on "push button" "$1"
  focus_dialog "Экспорт списка"
  atspi text 30 "text@Экспорт списка" "*"
  [ "$reply" = "$2" ] || drive_fail "the export dialog suggests '$reply', not '$2'"
  click_on "push button@Экспорт списка" "Сохранить"
  wait_for_file "$2"
  wait_gone frame "Экспорт списка"
  timeout 30 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
}

# The file PATH chosen in the import dialog; waits for the preview.
editing_open_import() {
  click_on "push button" "Импорт…"
  focus_dialog "Импорт списка"
  click_on "text@Импорт списка" "*"
  enter "$1"
  # The dialog's button takes the file picked in its list; Return takes the typed path.
  press Return
  wait_gone frame "Импорт списка"
  timeout 30 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
  wait_shown "push button" "Добавить к списку"
}
