#!/bin/bash
# A first start stores the folder box's default, the user's desktop folder. The icon
# sits in the tray host's panel. Minimising through the window manager hides the window
# into the tray, with the balloon the first time only; a left click and a right click
# on the icon each bring the window back, in front. Closing through the window manager
# takes the icon out and ends the process.
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"

start_kestrava
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
desktop="$(windows_variable USERPROFILE)\\Desktop\\"
eventually eval '[ "$(setting Text1)" = "$desktop" ]' ||
    fail "the folder box's default was not stored: '$(setting Text1)', not '$desktop'"

eventually tray_icon >/dev/null || fail "no icon in the tray"
sleep 0.5  # let the icon paint
import -window root "$OUTPUT/desktop.png"
read -r x y < <(xwininfo -id "$(tray_icon)" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
convert "$OUTPUT/desktop.png" -crop "20x30+$x+$y" +repage "$OUTPUT/tray-icon.png"
# The blue V of the icon's small picture, which has no shades between its colours.
blue=$(convert "$OUTPUT/tray-icon.png" -format %c histogram:info:- |
    awk -F'[(),]' '$4 > 150 && $2 < 100 && $3 < 100 {n += $1} END {print n + 0}')
[ "$blue" -gt 10 ] || fail "the tray icon shows no blue V ($OUTPUT/tray-icon.png)"

check_tray_round_trip

xdotool key --clearmodifiers alt+F4
wait_for_kestrava_to_end
! tray_icon >/dev/null || fail "the icon stayed in the tray"
echo "tray: icon $OUTPUT/tray-icon.png, balloon $OUTPUT/balloon.png"
