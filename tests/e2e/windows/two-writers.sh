#!/bin/bash
# kestrava.exe, logging every second a folder whose entries take several chunks of the
# log, and kestrava-log.exe taking snapshots of another folder into the same log at the
# same moment: the entries never mix, each stays whole.
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"

files=2000
for folder in window command; do
    mkdir -p "$C_DRIVE/e2e/$folder"
    (cd "$C_DRIVE/e2e/$folder" &&
        touch $(seq -f "a_long_name_that_makes_each_entry_larger_than_a_chunk_of_the_log_%g" "$files"))
done
store_settings 'StartStopState=On' 'OftenIndex=1' 'Text1=C:\e2e\window\'
windows_log=$(winepath -w "$LOG" 2>/dev/null)

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
# kestrava-log.exe's snapshots, one after another, until the window has written two
# entries of its own meanwhile (a line of each names its folder's first file).
take_snapshot() {
    wine "$KESTRAVA_LOG" --log "$windows_log" snapshot 'C:\e2e\command' </dev/null \
        >"$OUTPUT/snapshot.txt" 2>&1 || fail "kestrava-log.exe snapshot failed: $(cat "$OUTPUT/snapshot.txt")"
}
repeat_until_lines "$LOG" \
    'C:\e2e\window\a_long_name_that_makes_each_entry_larger_than_a_chunk_of_the_log_1|' 2 120 \
    take_snapshot
snapshots=$RUNS
close_kestrava "$window"

counts=$(check_whole_entries "$LOG" "$files" '^C:.e2e.(window|command).')
echo "$counts"
grep -q "^$snapshots entries of C:.e2e.command" <<<"$counts" ||
    fail "$snapshots snapshots of kestrava-log.exe's, but: $counts"
grep -q 'entries of C:.e2e.window' <<<"$counts" || fail "no entry of the window's"
echo "two writers: every entry whole"
