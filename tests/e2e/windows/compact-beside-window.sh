#!/bin/bash
# kestrava.exe appending entries ("Log Current Status Now (Test)") while kestrava-log.exe
# compacts and prunes the same log again and again: no entry of the window's is lost,
# doubled or reordered (rewrites-beside-window.sh).
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"
source "$(dirname "$0")/../rewrites-beside-window.sh"

base=600
tree="$C_DRIVE/e2e/tree"
make_tree "$tree" 12 50
store_settings 'StartStopState=Off' 'Text1=C:\e2e\tree\'
log=$LOG
windows_log=$(winepath -w "$log" 2>/dev/null)
start_kestrava
trap 'touch "$OUTPUT/stop"; stop_kestrava' EXIT
window=$(wait_for_window Kestrava)

kestrava_log() {
    wine "$KESTRAVA_LOG" --log "$windows_log" "$@" </dev/null | tr -d '\r'
}
# Read from the log itself: each start of a wine program takes a while.
newest_lists() {
    [ -z "$(tail -c 1 "$log" 2>/dev/null)" ] &&
        [ "$(awk '/^\[/ { lines = 0; next } { lines++ } END { print lines - 1 }' "$log" 2>/dev/null)" = "$1" ]
}

check_rewrites_beside_window 12 22
