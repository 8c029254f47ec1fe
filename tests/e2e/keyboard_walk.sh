#!/usr/bin/env bash
# The whole program by keyboard alone, without a single mouse event: three entries typed
# and saved, the tabs switched, the list loaded, sorted by name, found, a rank taken from
# the suggestions in a cell, a row deleted and taken back, the three exports, a CSV import
# with one column's meaning changed, and a list restored after the program was killed.
# The focus is moved by Tab until the control named on the accessibility bus has it; the
# files are read back by Python's json and csv modules, openpyxl and pdftotext.
#
# Usage: keyboard_walk.sh PROGRAM WM_CLOSE [ARTIFACT_DIR]
set -euo pipefail

source "$(dirname "$0")/drive.sh"
drive_begin 400 "$@"
# A click anywhere ends the test.
click_on() { drive_fail "a mouse event in the keyboard walk: $*"; }
year=$(date +%Y)

# Into the field of this name from wherever the focus is, backwards with a third argument.
type_into() {
  tab_to text "$1" "${3:-Tab}"
  enter "$2"
}

# "Добавить" pressed with Space, which every button takes; the added records show one more.
added() {
  atspi count "list item" "*"
  local before=$reply
  tab_to "push button" "Добавить"
  press space
  atspi find 30 "list item" "*" "$before"
}

# The focus into the path field, PATH typed, and the button of this name pressed.
path_and() {
  type_into "Путь к файлу" "$1"
  tab_to "push button" "$2"
  press space
}

# The editor of the cell of this name open, looking from the row's last cell to the left:
# F2 opens the current cell's editor, which bears the cell's name; Shift+Tab closes it and
# moves left, as Left does where no editor opens.
cell_editor() {
  local _
  press End
  for _ in $(seq 20); do
    press F2
    if atspi_try focus 3 text "~, строка"; then
      atspi_try focus 0 text "$1" && return 0
      press shift+Tab
    else
      press Left
    fi
  done
  drive_fail "no editor of the cell '$1' in its row"
}

drive_start_program "$program"
press Tab
type_into "Организация" "Школа 5"
type_into "Фамилия, имя, отчество" "Яковлев Олег"
type_into "УИНН" 11111111111
type_into "Дата рождения" "01.01.$((year - 20))"
tab_to "combo box" "Пол"
press Up Up Down
atspi described 30 "combo box" "Пол" "Выбрано: М"
added
type_into "УИНН" 22222222222 shift+Tab
type_into "Фамилия, имя, отчество" "Борисова Анна" shift+Tab
tab_to "combo box" "Пол"
press Down
atspi described 30 "combo box" "Пол" "Выбрано: Ж"
added
tab_to "radio button" "Соревнование/Тренировка" shift+Tab
press space
wait_shown text "Группа (класс)"
type_into "Организация" "Клуб"
type_into "Группа (класс)" "5А"
type_into "Фамилия, имя, отчество" "Петров Илья"
added
path_and "$work/list.json" "Сохранить список"
wait_for_file "$work/list.json"

# The other tab, and the list loaded there.
tab_to "page tab" "~Создание списка" shift+Tab
press Right
path_and "$work/list.json" "Загрузить список"
wait_shown "status bar" "~Записей: 3."

# Sorted by name: the titles are one stop, and Space sorts by the first.
tab_to "table column header" "Имя"
press space
atspi described 30 "table column header" "Имя" "по возрастанию"

# Found by a name; Down enters the table at the one row shown, and the rank cell takes
# the second suggestion for "М" in its editor.
press ctrl+f
wait_focus text "Поиск"
enter "борисова"
wait_shown "status bar" "~, показано 1"
press Down
cell_editor "Спортивный Разряд, строка 1"
enter "М"
wait_shown "list item" "МСМК"
press Down Down Return
expect_field "МСМК" "the rank cell's editor"
press Return
atspi described 30 "table cell" "Спортивный Разряд, строка 1" "МСМК"
press ctrl+f
wait_focus text "Поиск"
press Escape
wait_gone "status bar" "~, показано"

# The first row deleted with Ctrl+Delete and taken back with Ctrl+Z.
press Down ctrl+Home
atspi described 30 "table cell" "Имя, строка 1" "Борисова Анна"
press ctrl+Delete
wait_shown "status bar" "~Записей: 2."
press ctrl+z
wait_shown "status bar" "~Записей: 3."

# The three exports, each saved by Return in its dialog's path field.
for button in "Экспорт в Excel…:xlsx" "Экспорт в CSV…:csv" "Печать в PDF…:pdf"; do
  tab_to "push button" "${button%:*}"
  press space
  focus_dialog "Экспорт списка"
  tab_to text "~list.${button##*:}"
  press Return
  wait_for_file "$work/list.${button##*:}"
  wait_gone frame "Экспорт списка"
  timeout 30 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
done

# A CSV whose "Группа" column holds teams, taken as the organization instead.
printf 'Ф.И.О.;Группа\r\nКим Юна;Лицей 2\r\n' >"$work/import.csv"
tab_to "push button" "Импорт…"
press space
focus_dialog "Импорт списка"
tab_to text "*"
enter "$work/import.csv"
press Return
wait_gone frame "Импорт списка"
timeout 30 xdotool windowfocus --sync "$wid" || drive_fail "the window took no keyboard focus"
tab_to "combo box" "Значение столбца «Группа»"
for _ in $(seq 20); do
  atspi_try described 0 "combo box" "Значение столбца «Группа»" "выбранное: Организация" && break
  press Up
done
atspi described 30 "combo box" "Значение столбца «Группа»" "выбранное: Организация"
tab_to "push button" "Добавить к списку"
press space
wait_shown "status bar" "~Записей: 4."
path_and "$work/walked.json" "Сохранить список"
wait_for_file "$work/walked.json"

# One more change, the program killed, and the list restored in a new run.
tab_to "push button" "Удалить строку 4"
press space
wait_shown "status bar" "~Записей: 3."
wait_for_recovery editing 3
kill -9 "$drive_pid"
wait "$drive_pid" 2>/dev/null || true
drive_pid=
drive_start_program "$program"
press Tab Right
tab_to "push button" "Восстановить несохранённый список"
press space
wait_shown "status bar" "~Записей: 3."
path_and "$work/restored.json" "Сохранить список"
wait_for_file "$work/restored.json"
drive_close "$wm_close"

/usr/bin/python3 - "$work" <<'PY' || drive_fail "the files hold other records than the walk made"
import csv, json, subprocess, sys, openpyxl
work = sys.argv[1]
names = lambda path: [r["name"] for r in json.load(open(f"{work}/{path}", encoding="utf-8"))]
walked = json.load(open(f"{work}/walked.json", encoding="utf-8"))
assert [r["name"] for r in walked] == ["Борисова Анна", "Петров Илья", "Яковлев Олег", "Ким Юна"], walked
assert walked[0]["athleticRank"] == "МСМК" and walked[3]["organization"] == "Лицей 2", walked
assert names("restored.json") == ["Борисова Анна", "Петров Илья", "Яковлев Олег"]
assert len(names("list.json")) == 3
sheet = openpyxl.load_workbook(f"{work}/list.xlsx").active
assert [sheet.cell(row, 2).value for row in (2, 3, 4)] == ["Борисова Анна", "Петров Илья", "Яковлев Олег"]
rows = list(csv.reader(open(f"{work}/list.csv", encoding="utf-8-sig", newline=""), delimiter=";"))
assert [row[1] for row in rows[1:]] == ["Борисова Анна", "Петров Илья", "Яковлев Олег"], rows
pdf = subprocess.run(["pdftotext", f"{work}/list.pdf", "-"], capture_output=True, text=True).stdout
assert "МСМК" in pdf and "Петров Илья" in pdf
PY
[ -s "$work/app.log" ] && drive_fail "the program printed warnings"
echo "PASS: the keyboard-only walk made, exported, imported and restored the expected lists"
