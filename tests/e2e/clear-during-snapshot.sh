#!/bin/bash
# "Clear History Log" answered Yes in the middle of a snapshot of a large tree
# (BIG_TREE, 800,000 files), once the snapshot has written part of its entry: the log
# goes and that snapshot writes nothing more, so the next snapshot (of a small folder
# typed into the folder box) begins the new log with its own two first lines.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

small="$OUTPUT/small"
mkdir -p "$small/sub"
printf 'a' >"$small/a.txt"
printf 'bb' >"$small/sub/b.txt"
store_settings "StartStopState=Off" "Text1=$BIG_TREE/"

start_kestrava
log="$TEMP/Kestrava.txt"
trap 'stop_kestrava; rm -f "$log"' EXIT
window=$(wait_for_window Kestrava)
clear_during_a_snapshot_then_log "$window" "$log" "$small/" 1
sleep 0.5
[ "$(grep -c '^\[' "$log")" -eq 1 ] || fail "more than one entry: $(head -c 300 "$log" | cat -A)"
[[ "$(sed -n 1p "$log")" =~ ^\[.*\]$'\r'$ ]] || fail "the log begins with $(head -n 1 "$log" | cat -A)"
[ "$(sed -n 2p "$log")" = $'File|Size|Date Modified\r' ] || fail "no header line second"
[ "$(sed -n '3,$p' "$log" | cut -d'|' -f1 | sort | tr '\n' ' ')" = "$small/a.txt $small/sub/b.txt " ] ||
    fail "the new entry's files: $(sed -n '3,$p' "$log" | cat -A)"
echo "clear during a snapshot: the new log holds one whole entry"
