#!/bin/bash
# kestrava.exe's snapshot of a generated tree of FILES files (100,000 unless given) with
# Western names, under wine, against `cmd /c dir /s /a-d` of the same tree, RUNS times
# each (5 unless given); on a virtual screen, in a wine prefix of the benchmark's own.
# usage: bench/run-windows-snapshot-bench.sh [FILES] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
export FILES=${1:-100000} RUNS=${2:-5}
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_generate_tree >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target kestrava kestrava_windows_snapshot_bench >/dev/null
export GENERATE_TREE=$PWD/build/release/bench/generate-tree
export SNAPSHOT_BENCH=$PWD/build/windows/bench/windows/windows-snapshot-bench.exe
tests/e2e/windows/run-in-wine-desktop.sh "$PWD/bench/windows/snapshot-scenario.sh" \
    "$PWD/build/windows/src/kestrava.exe" build/windows/bench-output build/windows/bench-wine
