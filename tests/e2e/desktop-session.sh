#!/bin/bash
# Inside the virtual screen: starts openbox and trayer, waits for the tray host's
# panel, runs the scenario, and ends only the helpers it started. The scenario gets
# the tray host's process as TRAY_HOST_PID.
set -euo pipefail
scenario=$1
export KESTRAVA=$2
export OUTPUT=$3

source "$(dirname "$0")/lib.sh"

wait_for_display
start_window_manager
start_tray_host
trap 'kill "$WINDOW_MANAGER_PID" "$TRAY_HOST_PID" 2>/dev/null || true' EXIT

bash "$scenario"
