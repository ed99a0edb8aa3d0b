#!/bin/bash
# kestrava.exe shows its window titled "Kestrava" at its design size. "Log Current
# Status Now (Test)" writes the history log in %TEMP% to the byte: the ANSI code page,
# CR LF, full paths with "\", en-US general dates (a midnight as the date alone); a
# hidden + system folder and a "~" file left out; a hidden and a system file listed;
# a folder whose name the code page holds only in part walked like any other, and a
# name's characters the code page can't hold written as "?". "Copy History To
# Clipboard" leaves the clipboard alone without a log and puts the log's text there
# once there is one.
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"

watched="$C_DRIVE/e2e/watched"
odd="$watched/Level 2/Blätter/Tief/Bob’s Σ"
mkdir -p "$watched/Secret" "$odd"
printf 'notes' >"$watched/notes.txt"
printf 'lock' >"$watched/~lock.tmp"
printf 'in' >"$watched/Secret/inside.txt"
printf 'odd' >"$odd/inside.txt"
head -c 1536 /dev/zero >"$watched/Level 2/hidden.txt"
truncate -s 2M "$watched/Level 2/Blätter/Ωmega.txt"
: >"$watched/Level 2/Blätter/Tief/boot.ini"
touch -d '2026-12-06 10:00:00' "$watched/notes.txt"
touch -d '2026-11-30 16:20:05' "$watched/Level 2/hidden.txt"
touch -d '2026-01-02 00:00:00' "$watched/Level 2/Blätter/Ωmega.txt"
touch -d '2026-07-04 12:00:00' "$watched/Level 2/Blätter/Tief/boot.ini"
touch -d '2026-07-04 12:00:00' "$odd/inside.txt"
set_attributes 'C:\e2e\watched\Secret' h s
set_attributes 'C:\e2e\watched\Level 2\hidden.txt' h
set_attributes 'C:\e2e\watched\Level 2\Blätter\Tief\boot.ini' s
store_settings 'StartStopState=Off' 'Text1=C:\e2e\watched\'

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
size=$(client_size "$window")
[ "$size" = "536x577" ] || fail "client area is $size, expected 536x577"

echo -n "held before" | xclip -selection clipboard -i
click_at "$window" 400 522  # Copy History To Clipboard
sleep 0.5
held=$(xclip -selection clipboard -o)
[ "$held" = "held before" ] || fail "without a log the clipboard changed to '$held'"

today() { date +%-m/%-d/%Y; }
before=$(today)
click_log_now "$window"
eventually test -s "$LOG" || fail "no history log at $LOG"
sleep 1
after=$(today)

header=$(head -n 1 "$LOG")
[[ "$header" =~ ^\[([0-9/]+)\ [0-9]{1,2}:[0-9]{2}:[0-9]{2}\ (AM|PM)\]$'\r'$ ]] ||
    fail "the entry's header is not an en-US general date: $(head -n 1 "$LOG" | cat -A)"
[ "${BASH_REMATCH[1]}" = "$before" ] || [ "${BASH_REMATCH[1]}" = "$after" ] ||
    fail "the entry is dated ${BASH_REMATCH[1]}, not today ($before)"
{
    printf '%s\n' "$header"
    printf 'File|Size|Date Modified\r\n'
    printf 'C:\\e2e\\watched\\notes.txt|5 Bytes|12/6/2026 10:00:00 AM\r\n'
    printf 'C:\\e2e\\watched\\Level 2\\hidden.txt|1.5 KB|11/30/2026 4:20:05 PM\r\n'
    printf 'C:\\e2e\\watched\\Level 2\\Bl\xe4tter\\?mega.txt|2 MB|1/2/2026\r\n'
    printf 'C:\\e2e\\watched\\Level 2\\Bl\xe4tter\\Tief\\boot.ini|0 Bytes|7/4/2026 12:00:00 PM\r\n'
    printf 'C:\\e2e\\watched\\Level 2\\Bl\xe4tter\\Tief\\Bob\x92s ?\\inside.txt|3 Bytes|7/4/2026 12:00:00 PM\r\n'
} >"$OUTPUT/expected.txt"
cmp "$OUTPUT/expected.txt" "$LOG" ||
    fail "the history log differs: $(diff <(cat -A "$OUTPUT/expected.txt") <(cat -A "$LOG"))"

# Wine hands the clipboard's text to X with Unix line ends.
click_at "$window" 400 522
sleep 0.5
xclip -selection clipboard -o >"$OUTPUT/clipboard.txt"
cmp "$OUTPUT/clipboard.txt" <(iconv -f CP1252 -t UTF-8 "$LOG" | tr -d '\r') ||
    fail "the clipboard doesn't hold the log: $(cat -A "$OUTPUT/clipboard.txt")"

xdotool mousemove --window "$window" 530 5  # no hover on the screenshot
sleep 0.5
import -frame -window "$window" "$OUTPUT/windows-main-window.png"
[ -s "$OUTPUT/windows-main-window.png" ] || fail "no screenshot"
echo "main window: $size, the log to the byte, screenshot $OUTPUT/windows-main-window.png"
