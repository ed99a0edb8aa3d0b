#!/bin/bash
# The built kestrava-log.exe's compact and prune under wine, as the Task Scheduler runs
# them: snapshots appended by another kestrava-log.exe while they run are neither lost,
# doubled nor reordered; killed (kill -9) at any moment, each leaves the history reading
# as before or as after, and the next run finishes the work (the store and the log put
# in place with MoveFileExW and ReplaceFileW).
# usage: kestrava-log-rewrites.sh WINE_RUNNER WINE_STATE KESTRAVA_LOG_EXE OUTPUT_FOLDER
set -euo pipefail
runner=$1
state=$2
exe=$3
output=$(realpath -m "$4")
rm -rf "$output"
mkdir -p "$output/tree" "$output/saved"
log=$output/Kestrava.txt
tree=$output/tree
name_mark=-

# kestrava-log.exe with the arguments, this machine's paths given as wine's drive Z:.
kestrava_log() {
    local arguments=() argument
    for argument in "$@"; do
        [[ $argument == /* ]] && argument="Z:${argument//\//\\}"
        arguments+=("$argument")
    done
    "$runner" exec "$state" "$exe" "${arguments[@]}" </dev/null
}
program=kestrava_log
source "$(dirname "$0")/../history-writer.sh"
make_tree

# compact beside a writer: every entry there, in order.
snapshots=12
start_writer "$snapshots"
while kill -0 "$writer" 2>/dev/null; do
    kestrava_log --log "$log" compact >/dev/null 2>>"$output/errors.txt" ||
        { status=$? && fail "compact failed (status $status) while snapshot wrote: $(cat "$output/errors.txt")"; }
done
wait "$writer"
[ ! -s "$output/writer.txt" ] || fail "$(cat "$output/writer.txt")"
kestrava_log --log "$log" compact >/dev/null || fail "the last compact failed"
counts() {
    kestrava_log --log "$log" entries >"$output/entries.txt" || fail "entries failed"
    tr -d '\r' <"$output/entries.txt" | sed 's/ files.*//; s/.*  //'
}
[ -s "$log.history" ] || fail "compact made no store"
[ "$(counts)" = "$(seq $((base + 1)) $((base + snapshots)))" ] ||
    fail "after compact beside snapshot, the entries list: $(counts | tr '\n' ' ')"

# prune beside a writer: the oldest and the newest three left, none appended lost.
start_writer_from() {
    (
        for n in $(seq "$1" "$2"); do
            printf 'x' >"$tree/added $n.txt"
            kestrava_log --log "$log" snapshot "$tree" >/dev/null 2>&1 || echo "snapshot $n failed"
        done
    ) >"$output/writer.txt" &
    writer=$!
}
start_writer_from $((snapshots + 1)) $((snapshots + 10))
while kill -0 "$writer" 2>/dev/null; do
    kestrava_log --log "$log" prune --keep-last 3 >/dev/null 2>>"$output/errors.txt" ||
        { status=$? && fail "prune failed (status $status) while snapshot wrote: $(cat "$output/errors.txt")"; }
done
wait "$writer"
[ ! -s "$output/writer.txt" ] || fail "$(cat "$output/writer.txt")"
snapshots=$((snapshots + 10))
kestrava_log --log "$log" prune --keep-last 3 >/dev/null || fail "the last prune failed"
expected=$(printf '%s\n' $((base + 1)) $((base + snapshots - 2)) $((base + snapshots - 1)) \
    $((base + snapshots)))
[ "$(counts)" = "$expected" ] ||
    fail "prune --keep-last 3 should leave entries of $(echo $expected) files: $(counts | tr '\n' ' ')"

# Killed after a moment that grows from nothing to past its end.
everything() {
    local asked status
    for asked in entries "show 1 --raw" "show -2 --raw" "show -1 --raw"; do
        status=0
        kestrava_log --log "$log" $asked || status=$?
        [ "$status" -eq 0 ] || fail "$asked ended with status $status"
    done
}
for n in 1 2 3; do kestrava_log --log "$log" snapshot "$tree" >/dev/null; done
cp "$log" "$log.history" "$output/saved/"
everything >"$output/before.txt"
outcomes=""
for rewrite in "compact --keep-text 0" "prune --keep-last 2"; do
    rm -f "$output"/Kestrava.txt*
    cp "$output/saved/"* "$output/"
    kestrava_log --log "$log" $rewrite >/dev/null || fail "$rewrite failed"
    everything >"$output/rewritten.txt"
    # A whole run takes about 0.15 s here, wine's start included.
    for delay in 0 0.02 0.04 0.06 0.08 0.1 0.12 0.14 0.17 0.2; do
        rm -f "$output"/Kestrava.txt*
        cp "$output/saved/"* "$output/"
        # The runner becomes wine, and wine the program: the PID is the program's.
        "$runner" exec "$state" "$exe" --log "Z:${log//\//\\}" $rewrite </dev/null \
            >/dev/null 2>&1 &
        killed=$!
        sleep "$delay"
        kill -9 "$killed" 2>/dev/null || true
        wait "$killed" 2>/dev/null || true
        everything >"$output/after.txt"
        # compact changes nothing a reader sees: only prune's outcomes tell.
        if cmp -s "$output/before.txt" "$output/after.txt"; then
            [ "${rewrite%% *}" = compact ] || outcomes+=" before"
        elif cmp -s "$output/rewritten.txt" "$output/after.txt"; then
            [ "${rewrite%% *}" = compact ] || outcomes+=" after"
        else
            fail "the history reads neither as before nor as after $rewrite was killed after ${delay}s"
        fi
        kestrava_log --log "$log" $rewrite >/dev/null || fail "$rewrite after a kill failed"
        everything >"$output/after.txt"
        cmp -s "$output/rewritten.txt" "$output/after.txt" ||
            fail "$rewrite run again after a kill at ${delay}s left another history"
        # Beside the test's own files, only the log and its store.
        stray=$(ls "$output" | grep -v -x -e Kestrava.txt -e Kestrava.txt.history -e saved \
            -e tree -e '[a-z]*\.txt' || true)
        [ -z "$stray" ] ||
            fail "$rewrite run again after a kill at ${delay}s left files behind: $stray"
    done
done
echo "compact and prune under wine: entries appended meanwhile kept; killed, the history read" \
    "as before or after (prune's:${outcomes}), and the next run finished the work"
