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
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "${helpers[@]}" 2>/dev/null || true
}
trap cleanup EXIT

# -displayfd: Xvfb takes a free display and says which once it is ready.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$OUTPUT/display" \
    </dev/null >"$OUTPUT/xvfb.log" 2>&1 &
helpers+=($!)
for _ in $(seq 100); do
    [ -s "$OUTPUT/display" ] && break
    sleep 0.1
done
[ -s "$OUTPUT/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$OUTPUT/display")"
wait_for_display
openbox </dev/null >"$OUTPUT/openbox.log" 2>&1 &
helpers+=($!)
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
