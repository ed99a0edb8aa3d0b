#!/bin/bash
# The window, logging every second a folder whose entries take several chunks of the
# log, and kestrava-log taking snapshots of another folder into the same log at the
# same moment: the entries never mix, each stays whole.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

files=3000
for folder in window command; do
    mkdir -p "$OUTPUT/$folder"
    (cd "$OUTPUT/$folder" &&
        touch $(seq -f "a_long_name_that_makes_each_entry_larger_than_a_chunk_of_the_log_%g" "$files"))
done
store_settings "StartStopState=On" "OftenIndex=1" "Text1=$OUTPUT/window/"

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
log="$TEMP/Kestrava.txt"
# kestrava-log's snapshots, one after another, until the window has written two entries
# of its own meanwhile (a line of each names its folder's first file).
take_snapshot() {
    "$KESTRAVA_LOG" --log "$log" snapshot "$OUTPUT/command" || fail "kestrava-log snapshot failed"
}
repeat_until_lines "$log" \
    "$OUTPUT/window/a_long_name_that_makes_each_entry_larger_than_a_chunk_of_the_log_1|" 2 60 \
    take_snapshot
snapshots=$RUNS
close_kestrava "$window"

counts=$(check_whole_entries "$log" "$files" "^$OUTPUT/(window|command)/")
echo "$counts"
grep -q "^$snapshots entries of $OUTPUT/command/" <<<"$counts" ||
    fail "$snapshots snapshots of kestrava-log's, but: $counts"
grep -q "entries of $OUTPUT/window/" <<<"$counts" || fail "no entry of the window's"
"$KESTRAVA_LOG" --log "$log" entries >/dev/null || fail "kestrava-log can't read the log"
echo "two writers: every entry whole"
