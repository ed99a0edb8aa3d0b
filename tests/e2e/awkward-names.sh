#!/bin/bash
# A file whose name holds CR LF and the text of a forged entry is listed once, on one
# line of the history log, its control characters written as "?"; folders whose names
# hold "|", "?" or a line break are walked, and their files listed with "?" for the
# control characters. kestrava-log reads that log as one entry, and its own snapshot
# of the folder writes the window's very lines.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

watched="$OUTPUT/watched"
forger=$'x\r\n[12.1.2020 01:00:00]\r\nFile|Size|Date Modified\r\nforged.txt|1 KB|12.1.2020'
mkdir -p "$watched/Pipe|d" "$watched/x?" "$watched/line"$'\n'"break"
printf 'abc' >"$watched/$forger"
printf 'z' >"$watched/Pipe|d/in.txt"
printf 'zz' >"$watched/x?/in.txt"
printf 'zzz' >"$watched/line"$'\n'"break/in.txt"
store_settings "StartStopState=Off" "Text1=$watched/"

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
click_log_now "$window"
log="$TEMP/Kestrava.txt"
eventually test -s "$log" || fail "no history log at $log"
sleep 0.5

lines=$(grep -c $'\r$' "$log")
[ "$lines" -eq 6 ] || fail "the log holds $lines lines, not 6: $(cat -A "$log")"
[ "$(grep -c '^\[' "$log")" -eq 1 ] || fail "a forged entry header: $(cat -A "$log")"
whole="$watched/x??[12.1.2020 01:00:00]??File|Size|Date Modified??forged.txt|1 KB|12.1.2020|3 Bytes|"
[[ "$(sed -n 3p "$log")" == "$whole"* ]] || fail "the file's line is not whole: $(sed -n 3p "$log" | cat -A)"
# The three folders share a level, in the file system's order.
grep -q "^$watched/Pipe|d/in.txt|1 Bytes|" "$log" || fail "the folder with | was not walked"
grep -qF "$watched/x?/in.txt|2 Bytes|" "$log" || fail "the folder with ? was not walked"
grep -qF "$watched/line?break/in.txt|3 Bytes|" "$log" || fail "the folder with a line break was not walked"
[ "$(sed -n '4,6p' "$log" | grep -c '/in\.txt|')" -eq 3 ] || fail "the sub-folders' files are not last"

"$KESTRAVA_LOG" --log "$log" entries >"$OUTPUT/entries.txt" || fail "kestrava-log can't read the log"
grep -q '^1  .*  4 files$' "$OUTPUT/entries.txt" && [ "$(wc -l <"$OUTPUT/entries.txt")" -eq 1 ] ||
    fail "kestrava-log reads the log as: $(cat "$OUTPUT/entries.txt")"
"$KESTRAVA_LOG" --log "$OUTPUT/command.txt" snapshot "$watched" || fail "kestrava-log's snapshot failed"
cmp <(tail -n +2 "$log") <(tail -n +2 "$OUTPUT/command.txt") ||
    fail "kestrava-log's snapshot differs from the window's: $(cat -A "$OUTPUT/command.txt")"
echo "awkward names: $lines lines, one entry; kestrava-log's snapshot is the window's"
