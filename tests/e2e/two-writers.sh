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
# The window's entries so far: one line a whole entry of its folder, its first file.
window_entries() {
    [ -e "$log" ] || { echo 0 && return; }
    grep -cF "$OUTPUT/window/a_long_name_that_makes_each_entry_larger_than_a_chunk_of_the_log_1|" \
        "$log" || true
}
# One snapshot after another, until the window has taken two of its own meanwhile.
snapshots=0
started=$SECONDS
until [ "$snapshots" -gt 0 ] && [ "$(window_entries)" -ge 2 ]; do
    [ $((SECONDS - started)) -lt 60 ] || fail "the window took no two snapshots in a minute"
    "$KESTRAVA_LOG" --log "$log" snapshot "$OUTPUT/command" || fail "kestrava-log snapshot failed"
    snapshots=$((snapshots + 1))
done
close_kestrava "$window"

counts=$(check_whole_entries "$log" "$files" "^$OUTPUT/(window|command)/")
echo "$counts"
grep -q "^$snapshots entries of $OUTPUT/command/" <<<"$counts" ||
    fail "$snapshots snapshots of kestrava-log's, but: $counts"
grep -q "entries of $OUTPUT/window/" <<<"$counts" || fail "no entry of the window's"
"$KESTRAVA_LOG" --log "$log" entries >/dev/null || fail "kestrava-log can't read the log"
echo "two writers: every entry whole"
