#!/bin/bash
# The path patterns' cost: the matcher against fnmatch on a million paths, then
# kestrava-log snapshot of a generated tree without patterns and with eight exclude
# patterns that leave nothing out, so that the difference is the asking alone.
# usage: bench/run-pattern-bench.sh [FILES] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-100000}
runs=${2:-7}
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_log kestrava_generate_tree \
    kestrava_pattern_bench >/dev/null
program=build/release/src/kestrava-log
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-pattern-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "== the matcher =="
build/release/bench/pattern-bench 1000000 "$runs"

echo "== snapshot of $files files, without and with eight patterns =="
build/release/bench/generate-tree "$work/tree" "$files" >/dev/null
log="$work/snapshot.log"
"$program" --log "$log" snapshot "$work/tree" >/dev/null  # the cache warmed
export TZ=UTC
hyperfine --warmup 1 --runs "$runs" --prepare "rm -f '$log'" -N \
    "$program --log $log snapshot $work/tree" \
    "$program --log $log snapshot $work/tree --exclude *.tmp --exclude node_modules/ \
--exclude /build/ --exclude **/cache/** --exclude docs/**/*.pdf --exclude *~* \
--exclude [Tt]humbs.db --exclude \$RECYCLE.BIN/"
