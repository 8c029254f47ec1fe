#!/usr/bin/env bash
# In the real window: loads a list on the editing page, sorts it by name, deletes a row and
# saves, takes the delete back with "Отменить" and saves again. Both files must hold
# the rows in the sorted order, byte for byte as the program writes them.
#
# Usage: sort_undo.sh PROGRAM WM_CLOSE [ARTIFACT_DIR]
set -euo pipefail

source "$(dirname "$0")/drive.sh"
drive_begin 120 "$@"

record() {
  printf '{"birthDate":"%s","group":"Школа 5","gtoUuid":"%s","isGto":true,"name":"%s","organization":"Школа 5","sex":"%s","step":"6.0"}' "$@"
}
yakovlev=$(record 01.01.2000 11111111111 'Яковлев Олег' М)
yolkin=$(record 02.02.2001 22222222222 'ёлкин Пётр' М)
borisov=$(record 03.03.2002 33333333333 'Борисов Иван' М)
ivanova=$(record 04.04.2003 44444444444 'иванова Анна' Ж)
printf '[%s,%s,%s,%s]\n' "$yakovlev" "$yolkin" "$borisov" "$ivanova" >"$work/list.json"

drive_start_program "$program"
editing_load "$work/list.json" 4
editing_sort "Имя"
click_on "push button" "Удалить строку 2"
wait_shown "status bar" "~Записей: 3."
editing_save "$work/deleted.json"
# The path field keeps the focus after the save, where Ctrl+Z would take back typing.
click_on "push button" "Отменить"
wait_shown "status bar" "~Записей: 4."
editing_save "$work/saved.json"
drive_close "$wm_close"

printf '[%s,%s,%s]\n' "$borisov" "$ivanova" "$yakovlev" >"$work/expected"
cmp -s "$work/expected" "$work/deleted.json" || drive_fail "the list saved after the delete differs"

printf '[%s,%s,%s,%s]\n' "$borisov" "$yolkin" "$ivanova" "$yakovlev" >"$work/expected"
cmp -s "$work/expected" "$work/saved.json" || {
  echo "expected: $(cat "$work/expected")" >&2
  echo "written:  $(cat "$work/saved.json")" >&2
  drive_fail "the saved list differs"
}
/usr/bin/python3 -c 'import json, sys; json.load(open(sys.argv[1], encoding="utf-8"))' \
  "$work/saved.json" || drive_fail "the saved list is no JSON"
[ -s "$work/app.log" ] && drive_fail "the program printed warnings"
echo "PASS: sorted by name, the delete taken back, saved in the sorted order"
