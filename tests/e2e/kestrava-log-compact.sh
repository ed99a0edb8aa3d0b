#!/bin/bash
# The built kestrava-log's compact as cron runs it, next to other programs: snapshots
# appended by another process while compact runs lose, double and reorder no entry; a
# compact killed (kill -9) at any moment leaves the history reading as before, and the
# next one finishes the work.
# usage: kestrava-log-compact.sh KESTRAVA_LOG OUTPUT_FOLDER
set -euo pipefail
program=$1
output=$2
rm -rf "$output"
mkdir -p "$output/tree"
export TZ=UTC LC_ALL=C.UTF-8
log=$output/Kestrava.txt
tree=$output/tree

source "$(dirname "$0")/history-writer.sh"
make_tree
snapshots=25
start_writer "$snapshots"
while kill -0 "$writer" 2>/dev/null; do
    "$program" --log "$log" compact >/dev/null 2>>"$output/compact-errors.txt" ||
        fail "compact failed while snapshot wrote: $(cat "$output/compact-errors.txt")"
done
wait "$writer"
[ ! -s "$output/writer.txt" ] || fail "$(cat "$output/writer.txt")"
"$program" --log "$log" compact >/dev/null || fail "the last compact failed"
"$program" --log "$log" entries >"$output/entries.txt" || fail "entries failed"
[ "$(wc -l <"$output/entries.txt")" -eq "$snapshots" ] ||
    fail "$snapshots snapshots, but entries lists: $(cat "$output/entries.txt")"
for n in $(seq 1 "$snapshots"); do
    grep -q "^$n  .*  $((base + n)) files" "$output/entries.txt" ||
        fail "entry $n doesn't list $((base + n)) files: $(cat "$output/entries.txt")"
done

# Killed after a moment that grows from nothing to past its end, compact leaves the
# history as it read; run again, it finishes the cut.
everything() {
    "$program" --log "$log" entries
    for n in $(seq 1 "$snapshots"); do "$program" --log "$log" show "$n" --raw; done
}
for n in 1 2 3 4 5; do "$program" --log "$log" snapshot "$tree" >/dev/null; done
snapshots=$((snapshots + 5))
everything >"$output/before.txt"
for delay in 0 0.002 0.005 0.01 0.02 0.03 0.05 0.08 0.12 0.2; do
    "$program" --log "$log" compact --keep-text 0 >/dev/null 2>&1 &
    compact=$!
    sleep "$delay"
    kill -9 "$compact" 2>/dev/null || true
    wait "$compact" 2>/dev/null || true
    everything >"$output/after.txt"
    cmp -s "$output/before.txt" "$output/after.txt" ||
        fail "the history reads otherwise after compact was killed after ${delay}s"
    "$program" --log "$log" snapshot "$tree" >/dev/null
    snapshots=$((snapshots + 1))
    everything >"$output/before.txt"
done
"$program" --log "$log" compact --keep-text 0 >/dev/null || fail "compact after the kills failed"
everything >"$output/after.txt"
cmp -s "$output/before.txt" "$output/after.txt" || fail "the last compact changed the history"
[ ! -s "$log" ] || fail "the last compact left entries in the log"
echo "compact: $snapshots entries, none lost, doubled or reordered"
