#!/bin/bash
# With "Log every 1 second" and a tree whose snapshot takes longer than that, one click
# on "Log Current Status Now (Test)" ends: the busy pointer it put up goes again (the
# default arrow follows it until the mouse moves), and the schedule goes on logging.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

tree=$(scratch_folder)
make_tree "$tree" 200 1000
store_settings "StartStopState=On" "OftenIndex=1" "Text1=$tree/"

start_kestrava
trap 'stop_kestrava; rm -rf "$tree"' EXIT
window=$(wait_for_window Kestrava)
xdotool mousemove --window "$window" 400 488
sleep 0.5
hand=$("$CURSOR_IMAGE")
click_log_now "$window"
pointer_changed() { [ "$("$CURSOR_IMAGE")" != "$hand" ]; }
eventually pointer_changed || fail "no busy pointer during the snapshot"
busy=$("$CURSOR_IMAGE")
pointer_not_busy() { [ "$("$CURSOR_IMAGE")" != "$busy" ]; }
for _ in $(seq 6); do
    eventually pointer_not_busy && break
done
pointer_not_busy || fail "the busy pointer stayed 60 s after the click"
entries=$(grep -c '^\[' "$TEMP/Kestrava.txt")
sleep 3
[ "$(grep -c '^\[' "$TEMP/Kestrava.txt")" -gt "$entries" ] || fail "the schedule stopped logging"
echo "log now ends: the pointer came back, $entries entries and counting"
