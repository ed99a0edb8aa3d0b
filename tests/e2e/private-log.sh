#!/bin/bash
# Without TEMP and TMPDIR the history log lies in the user's own state folder, which
# is made for the user alone. A link planted where the log belongs is never written
# through: the snapshot reports the failure and the link's target stays as it was.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

watched="$OUTPUT/watched"
mkdir -p "$watched"
printf 'notes' >"$watched/notes.txt"
store_settings "StartStopState=Off" "Text1=$watched/"

KESTRAVA_UNSET="TEMP TMPDIR XDG_STATE_HOME" start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
click_log_now "$window"
log="$HOME/.local/state/kestrava/Kestrava.txt"
eventually test -s "$log" || fail "no history log at $log"
for folder in "$HOME/.local" "$HOME/.local/state" "$HOME/.local/state/kestrava"; do
    [ "$(stat -c %a "$folder")" = 700 ] || fail "$folder is open to others: $(stat -c %a "$folder")"
done
[ "$(stat -c %a "$log")" = 600 ] || fail "the log is open to others: $(stat -c %a "$log")"
grep -q "^$watched/notes.txt|5 Bytes|" "$log" || fail "the log lacks the file: $(cat "$log")"
stop_kestrava

printf 'private\n' >"$OUTPUT/victim.txt"
mkdir -p "$OUTPUT/temp"
ln -s "$OUTPUT/victim.txt" "$OUTPUT/temp/Kestrava.txt"
start_kestrava
window=$(wait_for_window Kestrava)
click_log_now "$window"
eventually window_titled "Application Error" || fail "writing through the link was not reported"
[ "$(cat "$OUTPUT/victim.txt")" = private ] || fail "the link's target was written to"
echo "private log: $log, made 700/600; a planted link was refused"
