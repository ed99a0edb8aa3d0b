#!/bin/bash
# "Clear History Log" answered Yes in the middle of a snapshot of a tree whose listing
# takes wine seconds, once the snapshot has written part of its entry: the log goes
# and that snapshot writes nothing more, so the next snapshot (of a small folder typed
# into the folder box) begins the new log with its own two first lines.
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"

big="$C_DRIVE/e2e/big"
for folder in $(seq 20); do
    mkdir -p "$big/folder $folder"
    (cd "$big/folder $folder" && touch $(seq -f 'a file with a long name, number %g' 1000))
done
small="$C_DRIVE/e2e/small"
mkdir -p "$small/sub"
printf 'a' >"$small/a.txt"
printf 'bb' >"$small/sub/b.txt"
store_settings 'StartStopState=Off' 'Text1=C:\e2e\big\'

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
clear_during_a_snapshot_then_log "$window" "$LOG" 'C:\e2e\small\' 2
sleep 1
{
    head -n 1 "$LOG"
    printf 'File|Size|Date Modified\r\n'
    printf 'C:\\e2e\\small\\a.txt|1 Bytes|%s\r\n' "$(tail -n 2 "$LOG" | head -n 1 | cut -d'|' -f3 | tr -d '\r')"
    printf 'C:\\e2e\\small\\sub\\b.txt|2 Bytes|%s\r\n' "$(tail -n 1 "$LOG" | cut -d'|' -f3 | tr -d '\r')"
} >"$OUTPUT/expected.txt"
[[ "$(head -n 1 "$LOG")" =~ ^\[.*\]$'\r'$ ]] || fail "the log begins with $(head -n 1 "$LOG" | cat -A)"
cmp "$OUTPUT/expected.txt" "$LOG" ||
    fail "the new log is not one whole entry: $(diff <(cat -A "$OUTPUT/expected.txt") <(cat -A "$LOG"))"
echo "clear during a snapshot: the new log holds one whole entry"
