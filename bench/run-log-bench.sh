#!/bin/bash
# Times kestrava-log on generated history logs: diff of the last two entries of a log of
# 8 entries of 200,000 files against sort and comm, the same for two entries whose lines
# no longer line up, and entries on a 1 GB log against wc -l; prints kestrava-log's peak
# memory for each.
# usage: bench/run-log-bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_log kestrava_generate_log kestrava_log_bench \
    >/dev/null
program=build/release/src/kestrava-log
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-log-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "== diff: 8 entries of 200,000 files =="
build/release/bench/generate-log "$work/diff.log" 200000 8
echo "log: $(stat -c %s "$work/diff.log") bytes"
# The reference gets the two entries cut out, untimed.
"$program" --log "$work/diff.log" show -2 >"$work/before.txt"
"$program" --log "$work/diff.log" show -1 >"$work/after.txt"
build/release/bench/log-bench diff "$program" "$work/diff.log" "$work" "$runs"
tail -n 1 "$work/diff.txt"
rm -f "$work"/*

echo "== diff: two entries of 200,000 files whose lines no longer line up =="
build/release/bench/generate-log --shifted "$work/shifted.log" 200000
"$program" --log "$work/shifted.log" show -2 >"$work/before.txt"
"$program" --log "$work/shifted.log" show -1 >"$work/after.txt"
build/release/bench/log-bench diff "$program" "$work/shifted.log" "$work" "$runs"
tail -n 1 "$work/diff.txt"
rm -f "$work"/*

echo "== entries: a log of 1 GB =="
build/release/bench/generate-log --bytes 1000000000 "$work/big.log" 200000
echo "log: $(stat -c %s "$work/big.log") bytes, $(wc -l <"$work/big.log") lines"
build/release/bench/log-bench entries "$program" "$work/big.log" "$work" "$runs"
tail -n 2 "$work/entries.txt"
