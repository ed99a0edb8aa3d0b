#!/bin/bash
# Runs a command on a virtual screen with a window manager, as a user's desktop has
# them, and ends only the window manager it started.
# usage: bench/on-virtual-desktop.sh COMMAND [ARGUMENT...]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    # The screen never resets: a window manager connecting just as the last client
    # leaves would find no display.
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
        dbus-run-session -- "$0" "$@"
fi
openbox >/dev/null 2>&1 &
manager=$!
trap 'kill "$manager" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
"$@"
