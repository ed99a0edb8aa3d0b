#!/bin/bash
# The built kestrava-log's prune as cron runs it, next to other programs: snapshots
# appended by another process while prune runs are neither lost, doubled nor reordered;
# a prune killed (kill -9) at any moment leaves the history reading as before or as
# after, and the next one finishes the work.
# usage: kestrava-log-prune.sh KESTRAVA_LOG OUTPUT_FOLDER
set -euo pipefail
program=$1
output=$2
rm -rf "$output"
mkdir -p "$output/tree" "$output/saved"
export TZ=UTC LC_ALL=C.UTF-8
log=$output/Kestrava.txt
tree=$output/tree

source "$(dirname "$0")/history-writer.sh"
make_tree
# prune keeps the oldest and the newest three; what is appended meanwhile stays.
snapshots=25
start_writer "$snapshots"
turn=0
while kill -0 "$writer" 2>/dev/null; do
    # Every other turn the older entries are in the store first, so that both lose some.
    if [ $((turn % 2)) -eq 0 ]; then "$program" --log "$log" compact >/dev/null; fi
    turn=$((turn + 1))
    "$program" --log "$log" prune --keep-last 3 >/dev/null 2>>"$output/prune-errors.txt" ||
        fail "prune failed while snapshot wrote: $(cat "$output/prune-errors.txt")"
done
wait "$writer"
[ ! -s "$output/writer.txt" ] || fail "$(cat "$output/writer.txt")"
"$program" --log "$log" prune --keep-last 3 >/dev/null || fail "the last prune failed"
"$program" --log "$log" entries | sed 's/ files.*//; s/.*  //' \
    >"$output/counts.txt" || fail "entries failed"
expected=$(printf '%s\n' $((base + 1)) $((base + snapshots - 2)) $((base + snapshots - 1)) \
    $((base + snapshots)))
[ "$(cat "$output/counts.txt")" = "$expected" ] ||
    fail "prune --keep-last 3 should leave entries of $(echo $expected) files:" \
        "$(cat "$output/counts.txt")"

# Killed after a moment that grows from nothing to past its end, prune leaves the history
# as it read or as a whole prune leaves it; run again, it finishes the work.
everything() {
    "$program" --log "$log" entries
    local count
    count=$("$program" --log "$log" entries | wc -l)
    for n in $(seq 1 "$count"); do "$program" --log "$log" show "$n" --raw; done
}
for n in $(seq 1 8); do "$program" --log "$log" snapshot "$tree" >/dev/null; done
"$program" --log "$log" compact --keep-text 4 >/dev/null
cp "$log" "$log.history" "$output/saved/"
everything >"$output/before.txt"
"$program" --log "$log" prune --keep-last 2 >/dev/null || fail "prune failed"
everything >"$output/pruned.txt"
cmp -s "$output/before.txt" "$output/pruned.txt" && fail "prune --keep-last 2 removed nothing"
for delay in 0 0.002 0.005 0.01 0.02 0.03 0.05 0.08 0.12 0.2; do
    rm -f "$output"/Kestrava.txt*
    cp "$output/saved/"* "$output/"
    "$program" --log "$log" prune --keep-last 2 >/dev/null 2>&1 &
    prune=$!
    sleep "$delay"
    kill -9 "$prune" 2>/dev/null || true
    wait "$prune" 2>/dev/null || true
    everything >"$output/after.txt"
    cmp -s "$output/before.txt" "$output/after.txt" ||
        cmp -s "$output/pruned.txt" "$output/after.txt" ||
        fail "the history reads neither as before nor as after prune was killed after ${delay}s"
    "$program" --log "$log" prune --keep-last 2 >/dev/null || fail "prune after a kill failed"
    everything >"$output/after.txt"
    cmp -s "$output/pruned.txt" "$output/after.txt" ||
        fail "prune run again after a kill at ${delay}s left another history"
    [ "$(ls "$output" | grep -c '^Kestrava')" -eq 2 ] ||
        fail "prune run again after a kill at ${delay}s left files behind: $(ls "$output")"
done
echo "prune: entries appended meanwhile kept, and killed at any moment, the history whole"
