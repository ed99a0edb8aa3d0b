#!/bin/bash
# kestrava-log history of one path on a busy day (1,440 entries of 50,000 files,
# generate-day): from the store (target: at most 50 ms), and from the text log as GB/s
# of log read (target: at least 1 GB/s) against grep -F of the same path over the same
# log in the same run. Medians of 5 (store) and of 3 (text log), the log in the cache.
# usage: bench/run-file-history-bench.sh [WORKDIR]
# WORKDIR needs about 7 GB free, or holds the day's log as day.txt already; a temporary
# folder unless given.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_log kestrava_generate_day >/dev/null
program=$PWD/build/release/src/kestrava-log
source bench/script-helpers.sh
work_folder file-history-bench "$@"
day=$work/day.txt
log=$work/stored.txt

# grep's count into a file: with its output thrown away, grep stops at the first match.
grep_count() { grep -F -c -- "$1" "$2" >"$work/grep.out"; }

gbps() { printf '%.2f GB/s' "$(echo "$1 / $2 / 1000000000" | bc -l)"; }

[ -s "$day" ] || build/release/bench/generate-day "$day"
bytes=$(stat -c %s "$day")
echo "log: $bytes bytes; $(uptime)"
rm -f "$log.history"
cp "$day" "$log"
"$program" --log "$log" compact --keep-text 0 >/dev/null
# A file that changed during the day, by its whole path (a pattern anchored at its start).
# (diff ends with 1, something changed, or is cut short once the path is read.)
path=$({ "$program" --log "$log" diff 1 -1 || true; } | awk '/^M / { print substr($0, 3); exit }')
echo "path: $path"
"$program" --log "$log" history "$path"

echo "== from the store (median of 5) =="
store=$(median 5 "$program" --log "$log" history "$path")
printf 'history: %.1f ms (target: at most 50 ms)\n' "$(echo "$store * 1000" | bc -l)"

echo "== from the text log (median of 3, the log in the cache) =="
cat "$day" >/dev/null
[ "$("$program" --log "$day" history "$path")" = "$("$program" --log "$log" history "$path")" ] ||
    { echo "the text log and the store tell different timelines" >&2; exit 1; }
text=$(median 3 "$program" --log "$day" history "$path")
grep=$(median 3 grep_count "$path" "$day")
echo "history: $text s, $(gbps "$bytes" "$text") (target: at least 1 GB/s)"
echo "grep -F -c PATH: $grep s, $(gbps "$bytes" "$grep"); history's speed to grep's:" \
    "$(printf '%.2f' "$(echo "$grep / $text" | bc -l)")"
rm -f "$log" "$log.history" "$work/grep.out"
