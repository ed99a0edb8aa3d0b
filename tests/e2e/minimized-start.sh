#!/bin/bash
# With both start-up options on, the program comes up in the tray with the balloon,
# its window never on the screen; a click on the icon shows it with both boxes ticked.
# Ended by the session (SIGTERM) while it is in the tray, it takes the icon with it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

mkdir -p "$OUTPUT/config"
printf '[Kestrava]\nWindows%%20Startup=On\nMinimized=On\n' >"$OUTPUT/config/Velquist.conf"
start_kestrava
trap stop_kestrava EXIT

window=$(check_start_in_tray)
eventually eval '[ "$(wm_state "$window")" = Normal ]' || fail "the window came back minimised"
sleep 0.5
import -window "$window" "$OUTPUT/shown.png"
[ "$(client_size "$window")" = "536x577" ] || fail "the window came back at $(client_size "$window")"

xdotool windowminimize "$window"
eventually eval '! is_viewable "$window"' || fail "minimising did not hide the window"
kill -TERM "$KESTRAVA_PID"
eventually eval '! kill -0 "$KESTRAVA_PID" 2>/dev/null' || fail "SIGTERM did not end the program"
eventually eval '! tray_icon >/dev/null' || fail "the icon stayed after the program ended"
echo "minimised start: $OUTPUT/minimized-start.png, then $OUTPUT/shown.png"
