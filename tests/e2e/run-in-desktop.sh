#!/bin/bash
# Runs one end-to-end scenario on a virtual screen, with a window manager and a tray
# host, as a user's desktop would have them.
# usage: run-in-desktop.sh SCENARIO KESTRAVA OUTPUT_FOLDER
#
# The screen never resets: by default an X server resets when its last client leaves,
# and a window manager that connects just then, after the first probe of the screen,
# finds no display and gives up.
set -euo pipefail
scenario=$1
program=$2
output=$3
rm -rf "$output"
mkdir -p "$output"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
    dbus-run-session -- bash "$(dirname "$0")/desktop-session.sh" "$scenario" "$program" "$output"
