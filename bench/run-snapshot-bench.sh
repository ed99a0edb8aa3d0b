#!/bin/bash
# Generates a tree of FILES files (100000 unless given), then times the engine's
# snapshot of it against the reference find and measures the rows' memory.
# usage: bench/run-snapshot-bench.sh [FILES]
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-100000}
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_generate_tree kestrava_snapshot_bench >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
build/release/bench/generate-tree "$work/tree" "$files"
# The new tree's inodes go to the disk now, not while the snapshots are timed.
sync
find "$work/tree" >/dev/null  # warm the cache
build/release/bench/snapshot-bench "$work/tree" "$work" 5
build/release/bench/snapshot-bench --memory "$work/tree" "$work"
