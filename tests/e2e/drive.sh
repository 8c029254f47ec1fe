# Drives the real program in its own X server by keyboard, as an operator would; the
# end-to-end tests and the screenshot script source this file and share its steps.
#
# A test calls drive_begin with its time limit and its own arguments; a script of another
# kind sets `work` (a scratch folder of its own) and may set `artifacts` (a folder for a
# picture of the window when a step fails). Every step either succeeds or ends the script
# through drive_fail, which prints FAIL.

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
    { kill -9 "$drive_pid" && wait "$drive_pid"; } 2>/dev/null
  fi
  if [ -n "$drive_server_pid" ]; then
    { kill "$drive_server_pid" && wait "$drive_server_pid"; } 2>/dev/null
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
    kill -9 "$script" $(cat "$work/pids" 2>/dev/null) 2>/dev/null
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

# Our own server on a free display; it writes the display number once it accepts clients.
drive_start_server() {
  drive_require Xvfb xdotool xclip
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  drive_server_pid=$!
  echo "$drive_server_pid" >>"$work/pids"
  local i
  for i in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || drive_fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$work/display")"
  mkdir -p -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR=$work/runtime
  # Recovery files and the file dialog's settings stay in the scratch folder.
  export XDG_DATA_HOME=$work/data
  export XDG_CONFIG_HOME=$work/config
  export QT_QPA_PLATFORM=xcb
  unset QT_QUICK_BACKEND
}

# Starts the program and gives its window the keyboard. Nothing in the window has the
# focus yet: the first Tab reaches the tab bar.
drive_start_program() {
  "$1" >"$work/app.log" 2>&1 &
  drive_pid=$!
  echo "$drive_pid" >>"$work/pids"
  # Without a window manager only the class name picks the real top-level window. xdotool
  # gives up when a window appears while it looks at another one: then it looks again.
  local try
  wid=
  for try in 1 2 3; do
    wid=$(timeout 20 xdotool search --sync --classname '^quillor-list-exporter$' 2>/dev/null |
          head -n 1) || true
    [ -n "$wid" ] && break
  done
  [ -n "$wid" ] || drive_fail "the window did not appear"
  sleep 1
  timeout 5 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
}

press() {
  timeout 10 xdotool key --delay 20 "$@" || drive_fail "could not press $*"
  sleep 0.05
}

tabs() {
  local i
  for ((i = 0; i < $1; ++i)); do press Tab; done
}

backtabs() {
  local i
  for ((i = 0; i < $1; ++i)); do press shift+Tab; done
}

# What the focused text field holds, read through the clipboard. An empty field copies
# nothing, so the clipboard is emptied first; xclip stays behind to serve it, and must not
# hold this function's output open.
field_text() {
  timeout 5 xclip -selection clipboard -i </dev/null >/dev/null 2>&1
  press ctrl+a ctrl+c End
  timeout 5 xclip -selection clipboard -o 2>/dev/null
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

# Checks what the focused field holds before going on.
expect_field() {
  local held
  held=$(field_text)
  [ "$held" = "$1" ] || drive_fail "${2:-the focused field} holds '$held', not '$1'"
}

# Clicks a point of the window: only for what no key reaches, such as a table cell.
click() {
  timeout 5 xdotool mousemove --window "$wid" "$1" "$2" click 1 || drive_fail "could not click"
  sleep 0.3
}

wait_for_file() {
  local i
  for i in $(seq 50); do
    [ -s "$1" ] && return 0
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
# While a page offers a list that an earlier run left unsaved, the two buttons of its bar
# come first on the page, right after the tab bar: "Восстановить", then "Удалить". Once
# the bar goes, the focus is in the creation page's organization field, or in the editing
# page's path field.

# This run's recovery files and those left by earlier ones.
recovery_folder() {
  echo "$XDG_DATA_HOME/Orvend Electronics/quillor list exporter/recovery"
}

# From the tab bar: "Восстановить" pressed.
recovery_restore() {
  press Tab
  press Return
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
  for i in $(seq 50); do
    [ "$(recovery_count "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  drive_fail "no recovery file of the $1 page with $2 records (now: '$(recovery_count "$1")')"
}

# --- Creation page ---------------------------------------------------------------------
# Focus order in GTO mode: tab bar, the two mode buttons, organization, name,
# identification number, birth date, sex, bib number, athletic rank, "Добавить" (while
# enabled), "Очистить список", the path row's button and field, "Сохранить список".

# From the tab bar of a fresh window to the organization field.
creation_from_tab_bar() {
  tabs 3
}

# Fills the GTO form, starting in the organization field, and adds the entry with Return;
# the focus stays on "Добавить". Sex is "М" or "Ж"; empty bib number or rank clear them.
creation_add_gto() {
  creation_fill_gto "$@"
  press Tab
  press Return
}

creation_fill_gto() {
  local organization=$1 name=$2 uuid=$3 birth_date=$4 sex=$5 bib=$6 rank=$7
  enter "$organization"
  press Tab
  enter "$name"
  press Tab
  enter "$uuid"
  press Tab
  enter "$birth_date"
  press Tab
  press Up Up
  if [ "$sex" = Ж ]; then press Down Down; else press Down; fi
  press Tab
  enter "$bib"
  press Tab
  enter "$rank"
}

# From "Добавить" back to the organization field of the GTO form.
creation_back_to_form() {
  backtabs 7
}

# From "Добавить" in GTO mode to training mode, the focus in the organization field.
creation_switch_to_training() {
  backtabs 8
  press space
  press Tab
}

# Training form from its organization field; adds the entry, the focus stays on
# "Добавить".
creation_add_training() {
  enter "$1"
  press Tab
  enter "$2"
  press Tab
  enter "$3"
  press Tab
  press Return
}

# From "Добавить" to the tab bar.
creation_add_to_tab_bar() {
  tabs 5
}

# From "Добавить" to the path field, a path typed, and the list saved; the focus stays on
# "Сохранить список", one Tab before the tab bar.
creation_save() {
  tabs 3
  enter "$1"
  press Tab
  press Return
  wait_for_file "$1"
}

# --- Editing page ----------------------------------------------------------------------
# A load or a save leaves the focus on the page's notice label, whence Tab reaches the tab
# bar. Focus order: tab bar, the path row's button and field, "Загрузить список",
# "Сохранить список", the three export buttons, the new-page checkbox, "Импорт…", the find
# field, the table, the column titles (one stop: Left and Right pick a title, Space sorts
# by it), then each row's "Удалить". "Отменить" and "Повторить" take no focus: Ctrl+Z and
# Ctrl+Y work.

# From the tab bar to the editing page, a path typed and the list loaded.
editing_load() {
  press Right
  tabs 2
  enter "$1"
  press Tab
  press space
  sleep 0.5
}

# From the notice label after a load: the rows sorted by the title picked with `rights`
# presses of Right from the first one; the focus stays on the titles.
editing_sort() {
  tabs 13
  local i
  for ((i = 0; i < ${1:-0}; ++i)); do press Right; done
  press space
}

# From the notice label after a load or save: the path typed anew and the list saved.
editing_save() {
  tabs 3
  enter "$1"
  tabs 2
  press space
  wait_for_file "$1"
}

# A file dialog is a window of its own; it gets the keyboard once it shows.
focus_dialog() {
  local dialog
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || true
  [ -n "$dialog" ] || drive_fail "the dialog \"$1\" did not appear"
  timeout 5 xdotool windowfocus --sync "$dialog" ||
    drive_fail "the dialog \"$1\" took no keyboard focus"
}

# With the focus on an export button: opens its dialog, which suggests the list's name with
# the format's extension, saves there and gives the window the keyboard back. The focus in
# the window stays on the button.
editing_export() {
  local expected=$1
  press Return
  focus_dialog "Экспорт списка"
  tabs 2
  expect_field "$expected" "the export dialog's path field"
  press Return
  wait_for_file "$expected"
  timeout 5 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
}

# With the focus on "Импорт…": the file chosen in the import dialog and the preview's rows
# added to the list with "Добавить к списку", the preview having `columns` columns. The
# focus ends on the page's notice label.
editing_import() {
  local path=$1 columns=$2
  press Return
  focus_dialog "Импорт списка"
  tabs 2
  enter "$path"
  press Return
  timeout 5 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
  sleep 0.5
  # The preview puts the focus on the first column's meaning; its buttons follow the
  # columns.
  tabs $((columns + 1))
  press Return
  sleep 0.5
}
