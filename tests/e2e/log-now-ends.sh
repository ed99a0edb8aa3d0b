#!/bin/bash
# With "Log every 1 second" and a tree whose snapshot takes longer than that (BIG_TREE,
# 800,000 files), one click
# on "Log Current Status Now (Test)" ends: the busy pointer it put up goes again (the
# default arrow follows it until the mouse moves), and the schedule goes on logging.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

tree=$BIG_TREE
store_settings "StartStopState=On" "OftenIndex=1" "Text1=$tree/"

start_kestrava
trap 'stop_kestrava; rm -f "$TEMP/Kestrava.txt"' EXIT
window=$(wait_for_window Kestrava)
# A pointer is told by its size and hotspot: the busy one may be animated, so that its
# pixels change while it stays up.
pointer() { "$CURSOR_IMAGE" | cut -d' ' -f1; }
xdotool mousemove --window "$window" 400 488
sleep 0.5
hand=$(pointer)
click_log_now "$window"
pointer_changed() { [ "$(pointer)" != "$hand" ]; }
eventually pointer_changed || fail "no busy pointer during the snapshot"
busy=$(pointer)
pointer_not_busy() { [ "$(pointer)" != "$busy" ]; }
for _ in $(seq 6); do
    eventually pointer_not_busy && break
done
pointer_not_busy || fail "the busy pointer stayed 60 s after the click"
entries=$(grep -c '^\[' "$TEMP/Kestrava.txt")
another_entry() { [ "$(grep -c '^\[' "$TEMP/Kestrava.txt")" -gt "$entries" ]; }
for _ in $(seq 6); do
    eventually another_entry && break
done
another_entry || fail "the schedule stopped logging"
echo "log now ends: the pointer came back ($hand, then $busy, then $(pointer)), $entries entries and counting"
