#!/bin/bash
# The window appending entries ("Log Current Status Now (Test)") while kestrava-log
# compacts and prunes the same log again and again: no entry of the window's is lost,
# doubled or reordered (rewrites-beside-window.sh).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/rewrites-beside-window.sh"

base=2000
tree=$OUTPUT/tree
make_tree "$tree" 40 50
store_settings "Text1=$tree/"
start_kestrava
trap 'touch "$OUTPUT/stop"; stop_kestrava' EXIT
window=$(wait_for_window Kestrava)
log="$TEMP/Kestrava.txt"

kestrava_log() {
    "$KESTRAVA_LOG" --log "$log" "$@"
}
newest_lists() {
    kestrava_log entries 2>/dev/null | tail -n 1 | grep -q "  $1 files"
}

check_rewrites_beside_window 20 35
