#!/bin/bash
# The history store on a busy day's log (1,440 entries of 50,000 files, generate-day):
# its size against zstd -19 --long=31 of the same log, compact's time and peak memory
# against zstd -3 --long=31 -T0, the longest time compact held the writers off, and the
# time of entries, diff 1 -1 and show N read from the store against show of the newest
# entry of the text log. Each ratio comes from one run.
# usage: bench/run-history-bench.sh [WORKDIR]
# WORKDIR needs about 14 GB free (the log twice); a temporary folder unless given.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_log kestrava_generate_day >/dev/null
program=$PWD/build/release/src/kestrava-log
source bench/script-helpers.sh
work_folder history-bench "$@"
log=$work/Kestrava.txt
day=$work/day.txt

ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }
ms() { printf '%.1f ms' "$(echo "$1 * 1000" | bc -l)"; }

[ -s "$day" ] || build/release/bench/generate-day "$day"
echo "log: $(stat -c %s "$day") bytes"
cat "$day" >/dev/null   # in the cache, for both

echo "== compact --keep-text 0 against zstd -3 --long=31 -T0 =="
cp "$day" "$log"
rm -f "$log.history"
compact_time=$(seconds /usr/bin/time -f '%M' -o "$work/compact.rss" \
    "$program" --log "$log" compact --keep-text 0)
zstd3_time=$(seconds zstd -q -f -3 --long=31 -T0 "$day" -o "$work/day.zst3")
store=$(stat -c %s "$log.history")
echo "compact: $compact_time s, peak memory $(cat "$work/compact.rss") KB; zstd -3: $zstd3_time s;" \
    "ratio $(ratio "$compact_time" "$zstd3_time") (target: at most 1.0)"
"$program" --log "$log" compact --keep-text 0 >/dev/null
echo "store: $store bytes (target: at most 1,048,576)"

echo "== the store's size against zstd -19 --long=31 =="
zstd -q -f -19 --long=31 -T0 "$day" -o "$work/day.zst19"
zstd19=$(stat -c %s "$work/day.zst19")
echo "zstd -19 --long=31: $zstd19 bytes; ratio $(ratio "$store" "$zstd19") (target: at most 0.5)"
rm -f "$work/day.zst3" "$work/day.zst19"

echo "== writers held off (compact of a log with the newest entry kept) =="
cp "$day" "$log"
rm -f "$log.history"
"$program" --log "$log" compact

rounds=21
echo "== reading the store (median of $rounds rounds) =="
cp "$day" "$log"
rm -f "$log.history"
"$program" --log "$log" compact --keep-text 0 >/dev/null
# Each round times every command once, the reference first: a machine whose speed drifts
# (a shared one does, by a tenth and more within a minute) then weighs on all alike.
declare -A times
for _ in $(seq "$rounds"); do
    times[text]+="$(seconds "$program" --log "$day" show -1)"$'\n'
    times[entries]+="$(seconds "$program" --log "$log" entries)"$'\n'
    times[diff]+="$(seconds "$program" --log "$log" diff 1 -1 || true)"$'\n'
    for n in 1 721 1440; do
        times[show$n]+="$(seconds "$program" --log "$log" show "$n")"$'\n'
    done
done
show_text=$(median_of "${times[text]}")
echo "entries: $(ms "$(median_of "${times[entries]}")") (target: at most 50 ms)"
echo "diff 1 -1: $(ms "$(median_of "${times[diff]}")") (target: at most 250 ms)"
echo "show -1 of the text log: $(ms "$show_text")"
for n in 1 721 1440; do
    show=$(median_of "${times[show$n]}")
    echo "show $n: $(ms "$show"); ratio to show -1 of the text log $(ratio "$show" "$show_text")" \
        "(target: at most 1.0)"
done
rm -f "$log" "$log.history"
