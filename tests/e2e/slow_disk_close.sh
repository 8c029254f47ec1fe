#!/usr/bin/env bash
# On a disk whose every sync is slow, an entry added right before the window closes still
# reaches the recovery file: the way out waits for the last recovery write instead of
# cutting it off, and no temporary file is left behind.
#
# Usage: slow_disk_close.sh SLOW_SYNC_LIBRARY PROGRAM WM_CLOSE [ARTIFACT_DIR]
set -euo pipefail

slow_sync=$1
shift
source "$(dirname "$0")/drive.sh"
drive_begin 150 "$@"
LD_PRELOAD=$slow_sync drive_start_program "$program"

creation_switch_to_training
creation_add_training 'Клуб' '5А' 'Петров Илья'
wait_for_recovery creation 1
creation_add_training 'Клуб' '5Б' 'Орлова Анна'
drive_request_close "$wm_close" 30
[ "$close_status" = 0 ] || drive_fail "exit status $close_status after the window closed"
drive_pid=
[ "$(recovery_count creation)" = 2 ] || drive_fail "the last entry did not reach the recovery file"
leftovers=$(find "$(recovery_folder)" -name '.*' -type f)
[ -z "$leftovers" ] || drive_fail "temporary files left: $leftovers"
echo "PASS: the entry added before the close kept on a slow disk, exit status 0 after ${close_ms} ms"
