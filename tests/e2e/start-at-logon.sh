#!/bin/bash
# Ticking "Load this software on Windows startup" writes the program's autostart entry
# for all users (below the first folder of XDG_CONFIG_DIRS) and shows "Minimized to
# system tray"; clearing it removes the entry and clears the second option.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_DIRS="$OUTPUT/xdg:/etc/xdg"
entry="$OUTPUT/xdg/autostart/$(basename "$KESTRAVA").desktop"
start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
sleep 0.5

# Check4 lies at (240, 300) twips in Frame2, which lies at (120, 6270): (24, 438) pixels.
click_at "$window" 40 447
eventually test -f "$entry" || fail "ticking the box wrote no entry at $entry"
program=$(realpath "$KESTRAVA")
grep -qx "Exec=$program" "$entry" || fail "the entry doesn't start $program: $(cat "$entry")"
grep -qx 'Windows%20Startup=On' "$XDG_CONFIG_HOME/Velquist.conf" || fail "'On' was not stored"
[ ! -e "$XDG_CONFIG_HOME/autostart" ] || fail "an entry for the user was written as well"
# Check8, shown now, lies at (4320, 300) twips in Frame2: (296, 438) pixels.
click_at "$window" 300 447
eventually grep -qx 'Minimized=On' "$XDG_CONFIG_HOME/Velquist.conf" || fail "Check8 stored nothing"
import -window "$window" "$OUTPUT/ticked.png"

click_at "$window" 40 447
eventually eval '[ ! -e "$entry" ]' || fail "clearing the box left the entry"
grep -qx 'Windows%20Startup=Off' "$XDG_CONFIG_HOME/Velquist.conf" || fail "'Off' was not stored"
grep -qx 'Minimized=Off' "$XDG_CONFIG_HOME/Velquist.conf" || fail "'Minimized' was not cleared"
echo "start at logon: $entry written and removed"
