#!/bin/bash
# The icon sits in the tray host's panel. Minimising through the window manager hides
# the window into the tray, with the balloon the first time only; a left click and a
# right click on the icon each bring the window back, in front. Closing through the
# window manager takes the icon out and ends the program.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
eventually tray_icon >/dev/null || fail "no icon in the tray"
sleep 0.5  # let the icon paint
import -window root "$OUTPUT/desktop.png"
read -r x y < <(xwininfo -id "$(tray_icon)" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
convert "$OUTPUT/desktop.png" -crop "22x30+$x+$y" +repage "$OUTPUT/tray-icon.png"
# The blue V on its light ground: the icon holds more than the panel's one colour.
colours=$(convert "$OUTPUT/tray-icon.png" -format '%k' info:)
[ "$colours" -gt 4 ] || fail "the tray icon shows $colours colours: nothing drawn"

check_tray_round_trip

close_kestrava "$window"
! tray_icon >/dev/null || fail "the icon stayed in the tray"
echo "tray: icon $OUTPUT/tray-icon.png, balloon $OUTPUT/balloon.png"
