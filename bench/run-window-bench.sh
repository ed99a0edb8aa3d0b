#!/bin/bash
# The window's speed and responsiveness: "Log Current Status Now (Test)" on a tree of
# FILES files (100,000 unless given) against the engine alone and the reference find,
# then "Log every 1 second" on a tree of 1,000 files for SECONDS seconds (60 unless
# given; 0 leaves it out); offscreen, then on a virtual X screen with a window manager.
# usage: bench/run-window-bench.sh [FILES] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-100000}
seconds=${2:-60}
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_generate_tree kestrava_window_bench >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
build/release/bench/generate-tree "$work/tree" "$files"
build/release/bench/generate-tree "$work/small" 1000
# The new tree's inodes go to the disk now, not while the snapshots are timed.
sync
find "$work/tree" "$work/small" >/dev/null  # warm the cache
for where in offscreen on-display; do
    mkdir "$work/manual-$where" "$work/every-second-$where"
    run=(build/release/bench/window-bench)
    [ "$where" = offscreen ] || run=(bench/on-virtual-desktop.sh "${run[@]}" --on-display)
    "${run[@]}" "$work/tree" "$work/small" "$work/manual-$where" 5
    [ "$seconds" -eq 0 ] ||
        "${run[@]}" --every-second "$work/small" "$work/every-second-$where" "$seconds"
done
