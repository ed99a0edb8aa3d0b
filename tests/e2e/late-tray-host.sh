#!/bin/bash
# Without a tray host, minimising leaves the window minimised (in reach of the window
# manager) instead of hiding it where nothing could bring it back. When a tray host
# comes up later, the icon appears in it, and a click brings the window back.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

kill "$TRAY_HOST_PID"
eventually eval '! panel_window >/dev/null' || fail "the tray host stayed"
start_kestrava
trap 'stop_kestrava; kill "${late_tray_host:-}" 2>/dev/null || true' EXIT
window=$(wait_for_window Kestrava)

xdotool windowminimize "$window"
eventually eval '[ "$(wm_state "$window")" = Iconic ]' ||
    fail "minimising without a tray host left the window '$(wm_state "$window")'"
sleep 1
[ "$(wm_state "$window")" = Iconic ] || fail "the window left the window manager's reach"
! balloon_window >/dev/null || fail "a balloon without a tray"

start_tray_host
late_tray_host=$TRAY_HOST_PID
eventually tray_icon >/dev/null || fail "the icon did not come to the late tray host"
sleep 0.5
click_tray_icon 1
eventually eval '[ "$(wm_state "$window")" = Normal ] && is_viewable "$window"' ||
    fail "a click on the icon did not bring the window back"
echo "late tray host: the icon came, the window came back"
