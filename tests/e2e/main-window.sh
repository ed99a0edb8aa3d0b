#!/bin/bash
# The program starts, shows its window titled "Kestrava" at its design size, and
# stores the folder box's default, the desktop folder. It reads no command line, and
# Qt's own options on it don't reach Qt: with -platform offscreen honoured, no window
# would come up on the screen.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_kestrava -platform offscreen -stylesheet "$OUTPUT/none.qss" -reverse
trap stop_kestrava EXIT
window=$(wait_for_window Kestrava)
sleep 1  # let the window paint before the screenshot

size=$(client_size "$window")
[ "$size" = "536x577" ] || fail "client area is $size, expected 536x577"

import -frame -window "$window" "$OUTPUT/main-window.png"
[ -s "$OUTPUT/main-window.png" ] || fail "no screenshot"

grep -qx "Text1=$HOME/Desktop/" "$XDG_CONFIG_HOME/Velquist.conf" ||
    fail "the folder box's default was not stored: $(cat "$XDG_CONFIG_HOME/Velquist.conf")"
echo "main window: $size, screenshot $OUTPUT/main-window.png"
