#!/bin/bash
# Runs one end-to-end scenario on a virtual screen, with a window manager and a tray
# host, as a user's desktop would have them.
# usage: run-in-desktop.sh SCENARIO KESTRAVA OUTPUT_FOLDER
set -euo pipefail
scenario=$1
program=$2
output=$3
rm -rf "$output"
mkdir -p "$output"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    dbus-run-session -- bash "$(dirname "$0")/desktop-session.sh" "$scenario" "$program" "$output"
