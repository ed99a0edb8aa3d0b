#!/bin/bash
# With "Log every 1 second" the real program writes an entry to the history log every
# second while the window counts, and logs the folder typed into the folder box.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

watched="$OUTPUT/watched folder"
mkdir -p "$watched/sub" "$OUTPUT/empty"
printf 'notes' >"$watched/notes.txt"
printf 'deeper' >"$watched/sub/old.txt"
mkdir -p "$OUTPUT/config"
printf '[Kestrava]\nOftenIndex=1\nStartStopState=On\nText1=%s/\n' "$OUTPUT/empty" \
    >"$OUTPUT/config/Velquist.conf"

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)

click_at "$window" 200 101  # the folder box
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "$watched/"
sleep 3.5
import -frame -window "$window" "$OUTPUT/counting.png"
stop_kestrava

log="$TEMP/Kestrava.txt"
[ -f "$log" ] || fail "no history log at $log"
entries=$(grep -c '^\[' "$log")
[ "$entries" -ge 3 ] || fail "only $entries entries in the log"
last_entry=$(awk '/^\[/ {entry = ""} {entry = entry $0 "\n"} END {printf "%s", entry}' "$log")
grep -q "^$watched/notes.txt|5 Bytes|" <<<"$last_entry" || fail "the typed folder was not logged: $last_entry"
grep -q "^$watched/sub/old.txt|6 Bytes|" <<<"$last_entry" || fail "the sub-folder was not logged"
grep -qx "Text1=$watched/" "$XDG_CONFIG_HOME/Velquist.conf" || fail "the typed folder was not stored"
echo "automatic logging: $entries entries, the last of the typed folder"
