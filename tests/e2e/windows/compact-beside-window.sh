#!/bin/bash
# kestrava.exe appending entries ("Log Current Status Now (Test)") while kestrava-log.exe
# compacts and prunes the same log again and again: no entry of the window's is lost,
# doubled or reordered. A file is added to the window's folder before each press, so
# that the window's entry N lists 600 + N files.
set -euo pipefail
source "$(dirname "$0")/wine-lib.sh"

base=600
tree="$C_DRIVE/e2e/tree"
make_tree "$tree" 12 50
store_settings 'StartStopState=Off' 'Text1=C:\e2e\tree\'
windows_log=$(winepath -w "$LOG" 2>/dev/null)
start_kestrava
trap 'touch "$OUTPUT/stop"; stop_kestrava' EXIT
window=$(wait_for_window Kestrava)

kestrava_log() {
    wine "$KESTRAVA_LOG" --log "$windows_log" "$@" </dev/null | tr -d '\r'
}
# The newest entry, which both commands leave in the text log, is whole (the log ends
# with a line end) and lists this many files.
newest_lists() {
    [ -z "$(tail -c 1 "$LOG" 2>/dev/null)" ] &&
        [ "$(awk '/^\[/ { lines = 0; next } { lines++ } END { print lines - 1 }' "$LOG" 2>/dev/null)" = "$1" ]
}
# Presses "Log Current Status Now (Test)" after adding a file, from entry $1 to $2, each
# press once the entry before is whole.
log_entries() {
    local n
    for n in $(seq "$1" "$2"); do
        touch "$tree/added $n"
        click_log_now "$window"
        # Its entry may wait for a rewrite to let the log go, on a loaded machine: 30 s.
        eventually newest_lists $((base + n)) || eventually newest_lists $((base + n)) ||
            eventually newest_lists $((base + n)) || {
            import -window root "$OUTPUT/entry-missing.png" 2>/dev/null || true
            fail "the window's entry $n never came (the screen: $OUTPUT/entry-missing.png)"
        }
    done
}
# Runs kestrava-log.exe with the arguments until the file stop exists; a failure ends it.
rewrite_until_stopped() {
    rm -f "$OUTPUT/stop"
    (
        while [ ! -e "$OUTPUT/stop" ]; do
            kestrava_log "$@" >/dev/null 2>>"$OUTPUT/rewrite-errors.txt" ||
                { echo "kestrava-log.exe $* failed" >>"$OUTPUT/rewrite-errors.txt" && exit 1; }
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
    kestrava_log entries | sed 's/ files.*//; s/.*  //'
}

# compact keeps the newest entry in the text log and moves the others to the store.
log_entries 1 1
rewrite_until_stopped compact
log_entries 2 12
stop_rewriting
[ -s "$LOG.history" ] || fail "compact made no store"
[ "$(counts)" = "$(seq $((base + 1)) $((base + 12)))" ] ||
    fail "after compact beside the window, the entries list: $(counts | tr '\n' ' ')"

# prune keeps the oldest and the newest three; what the window appends meanwhile stays.
rewrite_until_stopped prune --keep-last 3
log_entries 13 22
stop_rewriting
kestrava_log prune --keep-last 3 >/dev/null || fail "the last prune failed"
expected=$(printf '%s\n' $((base + 1)) $((base + 20)) $((base + 21)) $((base + 22)))
[ "$(counts)" = "$expected" ] ||
    fail "prune --keep-last 3 beside the window should leave entries of $(echo $expected)" \
        "files: $(counts | tr '\n' ' ')"
close_kestrava "$window"
echo "$(grep -c compact "$OUTPUT/rewrites.txt") compacts and $(grep -c prune "$OUTPUT/rewrites.txt")" \
    "prunes beside the window: no entry lost, doubled or reordered"
