#!/usr/bin/env bash
# Reads the real window as a screen reader does, through AT-SPI: on each page, in both modes
# of the creation page, with the recovery bar, and in each of the program's own dialogs
# (the question before a file is replaced, the import preview, the bar of a list file
# changed on disk), every showing element that takes the focus has a Russian name and the
# role of a control, and the main controls have the roles they are. A notice is announced
# as an alert each time it shows.
#
# Usage: accessible_tree.sh PROGRAM WM_CLOSE [ARTIFACT_DIR]
set -euo pipefail

source "$(dirname "$0")/drive.sh"
drive_begin 240 "$@"

# Every focusable element named in Russian with a control's role.
audit() {
  atspi audit
  [ -z "$reply" ] || drive_fail "$1: ${reply//|/; }"
}

# Each ROLE and NAME pair shows.
roles() {
  while [ $# -gt 1 ]; do
    atspi find 30 "$1" "$2"
    shift 2
  done
}

list='[{"birthDate":"01.01.2000","group":"Школа 5","gtoUuid":"12345678901","isGto":true,"name":"Иванов Пётр","organization":"Школа 5","sex":"М","step":"6.0"},{"group":"5А","isGto":false,"name":"Петров Илья","organization":"Клуб"}]'
printf '%s\n' "$list" >"$work/list.json"
# A list a run that died left on the creation page.
folder=$(recovery_folder)
mkdir -p "$folder"
printf '%s\n%s\n' '{"format":1,"page":"creation"}' "$list" \
  >"$folder/20240101-000000-000-1.creation.recovery"
drive_start_program "$program"

roles alert "~Несохранённый список с прошлого запуска" \
  "push button" "Восстановить несохранённый список" "push button" "Удалить несохранённый список"
audit "the creation page with the recovery bar"
click_on "push button" "Удалить несохранённый список"
wait_gone alert "~Несохранённый список с прошлого запуска"
roles "page tab" "Создание списка" "page tab" "Редактирование списка" \
  "radio button" "ГТО" "radio button" "Соревнование/Тренировка" "text" "Организация" \
  "text" "УИНН" "text" "Дата рождения" "combo box" "Пол" "text" "Спортивный разряд" \
  "push button" "Добавить" "push button" "Очистить список" "text" "Путь к файлу" \
  "push button" "Сохранить список" "list" "Добавленные записи"
audit "the creation page in GTO mode"
creation_switch_to_training
roles "text" "Группа (класс)"
audit "the creation page in training mode"

editing_load "$work/list.json" 2
roles "push button" "Загрузить список" "push button" "Экспорт в Excel…" \
  "check box" "Каждая организация с новой страницы" "push button" "Импорт…" "text" "Поиск" \
  "table column header" "Имя" "table cell" "Имя, строка 1" "push button" "Удалить строку 1" \
  "status bar" "~Записей: 2."
audit "the editing page"

# A file that is there already: the question before it is replaced.
printf 'x\n' >"$work/list.csv"
editing_export "Экспорт в CSV…" "$work/list.csv"
roles dialog "Заменить файл?" "push button" "Заменить" "push button" "Отмена"
wait_focus "push button" "Отмена"
audit "the question before a file is replaced"
press Escape
wait_gone dialog "Заменить файл?"

# The import preview of a CSV file with a problem line.
printf 'Ф.И.О.;Дата рождения;Организация\r\nСидоров Олег;31.02.2001;Лицей\r\n' >"$work/import.csv"
editing_open_import "$work/import.csv"
roles dialog "Импорт списка" "combo box" "Значение столбца «Ф.И.О.»" "combo box" "Кодировка файла" \
  "text" "Замечания" "push button" "Добавить к списку" "push button" "Отменить импорт"
atspi described 30 text "Замечания" "31.02.2001"
audit "the import preview"
click_on "push button" "Отменить импорт"
wait_gone dialog "Импорт списка"

# The list file changed on disk after the load: the bar instead of a save.
fill "Путь к файлу" "$work/list.json"
click_on "push button" "Загрузить список"
wait_shown "table cell" "Имя, строка 2"
printf '%s\n' "${list%]},$list" | tr -d '\n' >"$work/list.json"
click_on "push button" "Сохранить список"
roles alert "~Файл изменён после загрузки" "push button" "Объединить" "push button" "Перезаписать"
audit "the bar of a changed list file"
click_on "push button" "Отмена"
wait_gone alert "~Файл изменён после загрузки"

# A load that fails shows the notice: an alert that names the cause, again on a second
# failure while the first still fades.
atspi alerts
fill "Путь к файлу" "$work/missing.json"
click_on "push button" "Загрузить список"
atspi find 30 alert "~Не удалось загрузить файл"
click_on "push button" "Загрузить список"
shown=
for _ in $(seq 100); do
  atspi alerts
  shown+=$reply'|'
  [ "$(grep -o 'Не удалось загрузить файл' <<<"$shown" | wc -l)" -ge 2 ] && break
  sleep 0.1
done
[ "$(grep -o 'Не удалось загрузить файл' <<<"$shown" | wc -l)" -ge 2 ] ||
  drive_fail "two failed loads were announced as: $shown"
drive_close "$wm_close"
[ -s "$work/app.log" ] && drive_fail "the program printed warnings"
echo "PASS: every control on both pages and in the program's dialogs named in Russian with its role; notices announced"
