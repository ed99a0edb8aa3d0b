#!/bin/bash
# Closed in the middle of a snapshot of a large tree (BIG_TREE, 800,000 files), the
# program ends within a second, and the history log holds no more than the lines
# written until then, whole.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

tree=$BIG_TREE
trap 'stop_kestrava; rm -f "$TEMP/Kestrava.txt"' EXIT
store_settings "StartStopState=Off" "Text1=$tree/"

start_kestrava
window=$(wait_for_window Kestrava)
log="$TEMP/Kestrava.txt"
click_log_now "$window"
eventually test -s "$log" || fail "the snapshot wrote nothing"
xdotool windowactivate --sync "$window"
closed=$(date +%s%N)
xdotool key --clearmodifiers alt+F4
for _ in $(seq 1000); do  # every 10 ms, for 10 s at most
    kill -0 "$KESTRAVA_PID" 2>/dev/null || break
    sleep 0.01
done
milliseconds=$((($(date +%s%N) - closed) / 1000000))
if kill -0 "$KESTRAVA_PID" 2>/dev/null; then
    lines=$(wc -l <"$log")
    sleep 0.5
    echo "the log went from $lines to $(wc -l <"$log") lines in 0.5 s" >&2
    record_hung_program "$window"
    fail "the program did not end after the close"
fi
wait "$KESTRAVA_PID" || fail "the program ended with status $?"
[ "$milliseconds" -lt 1000 ] || fail "the program took $milliseconds ms to end"

size=$(stat -c %s "$log")
lines=$(wc -l <"$log")
sleep 0.5
[ "$(stat -c %s "$log")" = "$size" ] || fail "the log grew after the end"
[ "$lines" -lt 800002 ] || fail "the snapshot ran to its end ($lines lines)"
[ "$(grep -c '^\[' "$log")" -eq 1 ] || fail "a second entry began"
[ "$(tail -c 2 "$log" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "the log ends in the middle of a line"
echo "close during a snapshot: ended $milliseconds ms after the close, the log at $lines whole lines"
