#!/bin/bash
# Run by bench/run-windows-snapshot-bench.sh inside wine's desktop: generates the tree
# in the prefix's drive C:, names it in the program's settings, and runs the bench.
set -euo pipefail
source "$(dirname "$0")/../../tests/e2e/windows/wine-lib.sh"

rm -rf "$C_DRIVE/bench"
trap 'rm -rf "$C_DRIVE/bench"' EXIT
mkdir -p "$C_DRIVE/bench"
"$GENERATE_TREE" --western "$C_DRIVE/bench/tree" "$FILES"
store_settings 'StartStopState=Off' 'Text1=C:\bench\tree\'
cp "$SNAPSHOT_BENCH" "$C_DRIVE/bench/"
wine 'C:\bench\windows-snapshot-bench.exe' "$KESTRAVA" 'C:\bench\tree\' "$RUNS" </dev/null |
    tr -d '\r'
