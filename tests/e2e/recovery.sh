#!/usr/bin/env bash
# Nothing typed is lost: adds three participants on the creation page, kills the program
# with SIGKILL, starts it again, restores the list from the bar and saves it, and checks
# the file byte for byte. Then adds one more participant and closes the window at once:
# the program must end with status 0 within a second and leave the unsaved list behind.
#
# Usage: recovery.sh PROGRAM WM_CLOSE [ARTIFACT_DIR]
set -euo pipefail

source "$(dirname "$0")/drive.sh"
drive_begin 60 "$@"
drive_start_program "$program"

# Training entries need the fewest keys. From the tab bar to the training mode button,
# then to the organization field.
press Tab
tabs 2
press space
press Tab
creation_add_training 'Клуб' '5А' 'Петров Илья'
backtabs 3
creation_add_training 'Клуб' '5Б' 'Орлова Анна'
backtabs 3
creation_add_training 'Лицей "2"' '6В' 'Сидоров Олег'
wait_for_recovery creation 3

kill -9 "$drive_pid"
wait "$drive_pid" 2>/dev/null || true
drive_pid=
[ -s "$work/app.log" ] && drive_fail "the program printed warnings before it was killed"

drive_start_program "$program"
press Tab
recovery_restore
# The new run starts in GTO mode: back to the mode buttons for training mode, then from
# its organization field past group, name and "Очистить список" to the path field.
press shift+Tab
press space
press Tab
tabs 5
enter "$work/restored.json"
press Tab
press Return
wait_for_file "$work/restored.json"
record() { printf '{"group":"%s","isGto":false,"name":"%s","organization":"%s"}' "$@"; }
printf '[%s,%s,%s]\n' "$(record 5А 'Петров Илья' Клуб)" "$(record 5Б 'Орлова Анна' Клуб)" \
  "$(record 6В 'Сидоров Олег' 'Лицей \"2\"')" >"$work/expected.json"
cmp -s "$work/expected.json" "$work/restored.json" || {
  echo "expected: $(cat "$work/expected.json")" >&2
  echo "written:  $(cat "$work/restored.json")" >&2
  drive_fail "the restored list was saved with other bytes"
}
# The list is saved: nothing is left to recover.
wait_for_recovery creation none

# From "Сохранить список" back to the organization field, one more entry, and the window
# closed before the list is saved again.
backtabs 6
creation_add_training 'Школа 5' '7Г' 'Ким Юна'
drive_close "$wm_close"
[ "$(recovery_count creation)" = 4 ] || drive_fail "the unsaved list was not left behind"
[ -s "$work/app.log" ] && drive_fail "the program printed warnings"
echo "PASS: the killed run's list restored and saved as expected, the close kept the unsaved list, exit status 0"
