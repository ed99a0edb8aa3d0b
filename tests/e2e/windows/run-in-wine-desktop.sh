#!/bin/bash
# Runs one end-to-end scenario of kestrava.exe under wine, on a virtual screen with a
# window manager and a tray host, as a Windows user's desktop would have them.
# usage: run-in-wine-desktop.sh SCENARIO KESTRAVA_EXE OUTPUT_FOLDER STATE_FOLDER
#
# STATE_FOLDER holds the wine prefix the scenarios share (made the first time, which
# takes ~12 s). Each scenario gets a screen of its own, and so a wine server of its
# own: wine's desktop, whose tray docks the icons into the tray host, takes its screen
# from the program that starts the server. The server and the prefix's services are
# started detached from every pipe, or CTest would wait for them for ever.
set -euo pipefail
scenario=$1
exe=$2
export OUTPUT=$3
rm -rf "$OUTPUT"
mkdir -p "$OUTPUT" "$4"
state=$(realpath "$4")  # wine takes an absolute prefix only

export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
# Making the prefix neither downloads Mono and Gecko nor asks for them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# An en-US Windows in UTC, whatever the machine's own locale and zone: the dates in the
# history log are known to the byte.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=UTC

source "$(dirname "$0")/wine-lib.sh"

helpers=()
# Ending the wine server ends every program of the prefix, the scenario's included.
# The screen is awaited too: a screen still going away could take the next scenario's
# screen, which may have the same number, with it.
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "${helpers[@]}" 2>/dev/null || true
    wait "${helpers[@]}" 2>/dev/null || true
}
trap cleanup EXIT

# A display number that no screen holds: neither a lock file nor a listening socket,
# which a screen that is going away keeps after its lock is gone (where the lock can't
# be made at all, the socket is all there is). Where it starts is the scenario's own.
free_display() {
    local start=$(($$ % 80)) offset number
    for offset in $(seq 0 79); do
        number=$((10 + (start + offset) % 80))
        [ -e "/tmp/.X$number-lock" ] && continue
        grep -q "@/tmp/.X11-unix/X$number\$" /proc/net/unix && continue
        echo "$number"
        return 0
    done
    fail "no free display"
}

# Starts the screen and the window manager, and exports DISPLAY; tries again with
# another screen where either doesn't come up.
start_screen() {
    local screen window_manager
    for _ in 1 2 3; do
        export DISPLAY=":$(free_display)"
        Xvfb "$DISPLAY" -nolisten tcp -noreset -screen 0 1280x1024x24 </dev/null >>"$OUTPUT/xvfb.log" 2>&1 &
        screen=$!
        window_manager=""
        if eventually xdotool getdisplaygeometry >/dev/null; then
            openbox </dev/null >>"$OUTPUT/openbox.log" 2>&1 &
            window_manager=$!
            if eventually has_window_manager; then
                settle_keyboard_map
                helpers+=("$screen" "$window_manager")
                return 0
            fi
        fi
        kill "$screen" $window_manager 2>/dev/null || true
        wait "$screen" $window_manager 2>/dev/null || true
    done
    fail "no screen with a window manager came up ($OUTPUT/xvfb.log, $OUTPUT/openbox.log)"
}

start_screen
start_tray_host
helpers+=("$TRAY_HOST_PID")

wineserver -k 2>/dev/null || true  # one left by a scenario that was killed
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init </dev/null >/dev/null 2>&1
    wineserver -w
fi
wineserver -p </dev/null >/dev/null 2>&1 || fail "the wine server did not start"
wine wineboot </dev/null >/dev/null 2>&1

# The program as installed, in a folder of its own below "Program Files"; the prefix
# as a first start finds it: no settings, no start-at-logon entry, no history log.
install_kestrava "$exe"
forget_kestrava

bash "$scenario"
