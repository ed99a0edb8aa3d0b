#!/bin/bash
# Ticking "Load this software on Windows startup" writes the Run value for all users,
# named after the executable and holding its full path in quotes, and shows "Minimized
# to system tray". With both ticked, the next start comes up in the tray with the
# balloon, its window never on the screen; a click on the icon shows it. Clearing the
# first box there (ticked, as restored) deletes the Run value and clears the second.
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
sleep 0.5

# Check4 lies at (240, 300) twips in Frame2, which lies at (120, 6270): (24, 438) pixels.
click_at "$window" 40 447
eventually registry_value "$RUN_KEY" kestrava.exe >/dev/null ||
    fail "ticking the box wrote no Run value"
value=$(registry_value "$RUN_KEY" kestrava.exe)
# Quoted: the program lies below "Program Files", and Windows would try "C:\Program.exe"
# first for an unquoted path.
[ "$value" = "\"$KESTRAVA\"" ] || fail "the Run value holds '$value', not '\"$KESTRAVA\"'"
! registry_value "$USER_RUN_KEY" kestrava.exe >/dev/null || fail "a Run value for the user as well"
[ "$(setting 'Windows Startup')" = On ] || fail "'On' was not stored"
# Check8, shown now, lies at (4320, 300) twips in Frame2: (296, 438) pixels.
click_at "$window" 300 447
eventually eval '[ "$(setting Minimized)" = On ]' || fail "Check8 stored nothing"
import -window "$window" "$OUTPUT/ticked.png"
xdotool key --clearmodifiers alt+F4
wait_for_kestrava_to_end

start_kestrava
window=$(check_start_in_tray)
eventually eval '[ "$(wm_state "$window")" = Normal ]' || {
    xwininfo -root -tree >"$OUTPUT/windows.txt"
    import -window root "$OUTPUT/came-back.png"
    fail "the window came back in state '$(wm_state "$window")' ($OUTPUT/came-back.png)"
}
[ "$(client_size "$window")" = "536x577" ] || fail "the window came back at $(client_size "$window")"
sleep 0.5
import -window "$window" "$OUTPUT/shown.png"

click_at "$window" 40 447
eventually eval '! registry_value "$RUN_KEY" kestrava.exe >/dev/null' ||
    fail "clearing the box left the Run value"
[ "$(setting 'Windows Startup')" = Off ] || fail "'Off' was not stored"
[ "$(setting Minimized)" = Off ] || fail "'Minimized' was not cleared"
echo "start at logon: the Run value written, a start in the tray, the value deleted"
