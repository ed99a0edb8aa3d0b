#!/bin/bash
# "Copy History To Clipboard" puts the history log's whole text on the real clipboard,
# where another program reads it; without a log it leaves the clipboard alone.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)

echo -n "held before" | xclip -selection clipboard -i
click_at "$window" 400 522  # Copy History To Clipboard
sleep 0.5
held=$(xclip -selection clipboard -o)
[ "$held" = "held before" ] || fail "without a log the clipboard changed to '$held'"

printf '[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n/home/ann/Blätter/notes.txt|1.5 KB|12/6/2026 10:00:00 AM\r\n' \
    >"$TEMP/Kestrava.txt"
click_at "$window" 400 522
sleep 0.5
xclip -selection clipboard -o >"$OUTPUT/clipboard.txt"
cmp "$OUTPUT/clipboard.txt" "$TEMP/Kestrava.txt" || fail "the clipboard doesn't hold the log"
echo "clipboard: $(wc -c <"$OUTPUT/clipboard.txt") bytes, the log's text"
