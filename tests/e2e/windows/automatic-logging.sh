#!/bin/bash
# With "Log every 1 second" kestrava.exe writes an entry to the history log every
# second while the window counts, and logs the folder typed into the folder box, which
# it stores. The switch turns logging off and on again, storing each state in the
# registry; while it is off no entry is added.
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"

watched="$C_DRIVE/e2e/watched folder"
mkdir -p "$watched/sub" "$C_DRIVE/e2e/empty"
printf 'notes' >"$watched/notes.txt"
printf 'deeper' >"$watched/sub/old.txt"
store_settings 'OftenIndex=1' 'StartStopState=On' 'Text1=C:\e2e\empty\'

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)

click_at "$window" 200 101  # the folder box
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 'C:\e2e\watched folder\'
sleep 3.5
import -frame -window "$window" "$OUTPUT/counting.png"

[ -f "$LOG" ] || fail "no history log at $LOG"
entries() { grep -c '^\[' "$LOG"; }
[ "$(entries)" -ge 3 ] || fail "only $(entries) entries in the log"
last_entry=$(awk '/^\[/ {entry = ""} {entry = entry $0 "\n"} END {printf "%s", entry}' "$LOG")
grep -qF $'C:\\e2e\\watched folder\\notes.txt|5 Bytes|' <<<"$last_entry" ||
    fail "the typed folder was not logged: $last_entry"
grep -qF $'C:\\e2e\\watched folder\\sub\\old.txt|6 Bytes|' <<<"$last_entry" ||
    fail "the sub-folder was not logged: $last_entry"
[ "$(setting Text1)" = 'C:\e2e\watched folder\' ] ||
    fail "the typed folder was not stored: '$(setting Text1)'"

# "Turn Off Automatic Log", at (120, 7120) twips: (8, 475) pixels.
click_at "$window" 136 488
eventually eval '[ "$(setting StartStopState)" = Off ]' ||
    fail "turning logging off stored '$(setting StartStopState)'"
sleep 0.5  # a snapshot under way at the click ends
off=$(entries)
sleep 2
[ "$(entries)" -eq "$off" ] || fail "logging went on after it was turned off"

click_at "$window" 136 488
eventually eval '[ "$(setting StartStopState)" = On ]' ||
    fail "turning logging on stored '$(setting StartStopState)'"
eventually eval '[ "$(entries)" -gt "$off" ]' || fail "logging did not start again"
echo "automatic logging: $off entries, the last of the typed folder; off and on again, stored"
