#!/bin/bash
# prune --keep-hourly 24 --keep-daily 30 of a busy day's text log (generate-day: 1,440
# entries, FILES files each, 73,500 unless given: about 10 GB): how long it held the
# writers off (target: at most 1 s, whatever the log's size) and how long it took in all,
# against reading the log once with cat.
# usage: bench/run-prune-bench.sh [FILES] [WORKDIR]
# WORKDIR needs room for the log once; a temporary folder unless given.
set -euo pipefail
cd "$(dirname "$0")/.."
# The dates are read as generate-day writes them: in en_US, local time UTC.
export LANG=en_US.UTF-8 TZ=UTC
files=${1:-73500}
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_log kestrava_generate_day >/dev/null
program=$PWD/build/release/src/kestrava-log
source bench/script-helpers.sh
work_folder prune-bench "${@:2}"
log=$work/Kestrava.txt
rm -f "$log" "$log.history"
build/release/bench/generate-day "$log" "$files"
echo "log: $(stat -c %s "$log") bytes, $files files an entry"

start=$(date +%s.%N)
cat "$log" >/dev/null
read_time=$(echo "$(date +%s.%N) - $start" | bc -l)

start=$(date +%s.%N)
"$program" --log "$log" prune --keep-hourly 24 --keep-daily 30 | tail -n 2
prune_time=$(echo "$(date +%s.%N) - $start" | bc -l)
printf 'prune: %.1f s in all; cat of the log: %.1f s; ratio %.2f\n' "$prune_time" \
    "$read_time" "$(echo "$prune_time / $read_time" | bc -l)"
echo "after: log $(stat -c %s "$log") bytes, store $(stat -c %s "$log.history") bytes"
rm -f "$log" "$log.history"
