#!/usr/bin/env bash
# Nothing typed is lost: adds three participants on the creation page, kills the program
# with SIGKILL, starts it again, restores the list from the bar and saves it, and checks
# the file byte for byte. Then adds one more participant and closes the window at once:
# the program must end with status 0 within a second and leave the unsaved list behind.
#
# Usage: recovery.sh PROGRAM WM_CLOSE [ARTIFACT_DIR]
set -euo pipefail

source "$(dirname "$0")/drive.sh"
drive_begin 150 "$@"
drive_start_program "$program"

# Training entries need the fewest keys.
creation_switch_to_training
creation_add_training 'Клуб' '5А' 'Петров Илья'
creation_add_training 'Клуб' '5Б' 'Орлова Анна'
creation_add_training 'Лицей "2"' '6В' 'Сидоров Олег'
wait_for_recovery creation 3

kill -9 "$drive_pid"
wait "$drive_pid" 2>/dev/null || true
drive_pid=
[ -s "$work/app.log" ] && drive_fail "the program printed warnings before it was killed"

drive_start_program "$program"
recovery_restore
creation_save "$work/restored.json"
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

# One more entry, in training mode again as the new run starts in GTO mode, and the window
# closed before the list is saved again.
creation_switch_to_training
creation_add_training 'Школа 5' '7Г' 'Ким Юна'
drive_close "$wm_close"
[ "$(recovery_count creation)" = 4 ] || drive_fail "the unsaved list was not left behind"
[ -s "$work/app.log" ] && drive_fail "the program printed warnings"
echo "PASS: the killed run's list restored and saved as expected, the close kept the unsaved list, exit status 0"
