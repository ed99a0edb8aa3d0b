#!/bin/bash
# Inside the virtual screen: starts openbox and trayer, waits for the tray host's
# panel, runs the scenario, and ends only the helpers it started.
set -euo pipefail
scenario=$1
export KESTRAVA=$2
export OUTPUT=$3

openbox >"$OUTPUT/openbox.log" 2>&1 &
window_manager=$!
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
    --SetDockType true --expand false >"$OUTPUT/trayer.log" 2>&1 &
tray_host=$!
trap 'kill "$window_manager" "$tray_host" 2>/dev/null || true' EXIT

for _ in $(seq 100); do
    xdotool search --name '^panel$' >/dev/null 2>&1 && break
    sleep 0.1
done

bash "$scenario"
