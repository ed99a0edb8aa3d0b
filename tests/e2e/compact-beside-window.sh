#!/bin/bash
# The window appending entries ("Log Current Status Now (Test)") while kestrava-log
# compacts and prunes the same log again and again: no entry of the window's is lost,
# doubled or reordered. A file is added to the window's folder before each press, so
# that the window's entry N lists 2,000 + N files.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

base=2000
tree=$OUTPUT/tree
make_tree "$tree" 40 50
store_settings "Text1=$tree/"
start_kestrava
trap 'touch "$OUTPUT/stop"; stop_kestrava' EXIT
window=$(wait_for_window Kestrava)
log="$TEMP/Kestrava.txt"

# The newest entry lists this many files (nothing before the first).
newest_lists() {
    "$KESTRAVA_LOG" --log "$log" entries 2>/dev/null | tail -n 1 | grep -q "  $1 files"
}
# Presses "Log Current Status Now (Test)" after adding a file, from entry $1 to $2, each
# press once the entry before is whole.
log_entries() {
    local n
    for n in $(seq "$1" "$2"); do
        touch "$tree/added $n"
        click_log_now "$window"
        eventually newest_lists $((base + n)) || fail "the window's entry $n never came"
    done
}
# Runs kestrava-log with the arguments until the file stop exists; a failure ends it.
rewrite_until_stopped() {
    rm -f "$OUTPUT/stop"
    (
        while [ ! -e "$OUTPUT/stop" ]; do
            "$KESTRAVA_LOG" --log "$log" "$@" >/dev/null 2>>"$OUTPUT/rewrite-errors.txt" ||
                { echo "kestrava-log $* failed" >>"$OUTPUT/rewrite-errors.txt" && exit 1; }
            echo "$1" >>"$OUTPUT/rewrites.txt"
        done
    ) &
    rewriter=$!
}
stop_rewriting() {
    touch "$OUTPUT/stop"
    wait "$rewriter" || fail "$(cat "$OUTPUT/rewrite-errors.txt")"
}
# The files each entry lists, one count a line, oldest first.
counts() {
    "$KESTRAVA_LOG" --log "$log" entries | sed 's/ files.*//; s/.*  //'
}

# compact keeps the newest entry in the text log and moves the others to the store.
log_entries 1 1
rewrite_until_stopped compact
log_entries 2 20
stop_rewriting
[ -s "$log.history" ] || fail "compact made no store"
[ "$(counts)" = "$(seq $((base + 1)) $((base + 20)))" ] ||
    fail "after compact beside the window, the entries list: $(counts | tr '\n' ' ')"

# prune keeps the oldest and the newest three; what the window appends meanwhile stays.
rewrite_until_stopped prune --keep-last 3
log_entries 21 35
stop_rewriting
"$KESTRAVA_LOG" --log "$log" prune --keep-last 3 >/dev/null || fail "the last prune failed"
expected=$(printf '%s\n' $((base + 1)) $((base + 33)) $((base + 34)) $((base + 35)))
[ "$(counts)" = "$expected" ] ||
    fail "prune --keep-last 3 beside the window should leave entries of $(echo $expected)" \
        "files: $(counts | tr '\n' ' ')"
close_kestrava "$window"
echo "$(grep -c compact "$OUTPUT/rewrites.txt") compacts and $(grep -c prune "$OUTPUT/rewrites.txt")" \
    "prunes beside the window: no entry lost, doubled or reordered"
