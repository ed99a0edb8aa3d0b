# Sourced by the scenarios of the window appending entries ("Log Current Status Now
# (Test)") while kestrava-log compacts and prunes the same log again and again, on Linux
# and under wine. A file is added to the window's folder before each press, so that the
# window's entry N lists base + N files and any entry lost, doubled or out of order
# shows in the counts. Expects window, tree, base and OUTPUT to be set, and the
# functions kestrava_log (kestrava-log on the window's log, with the arguments) and
# newest_lists (whether the newest entry, which both commands leave in the text log, is
# whole and lists $1 files).

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

# Runs kestrava-log with the arguments until the file stop exists; a failure ends it.
rewrite_until_stopped() {
    rm -f "$OUTPUT/stop"
    (
        while [ ! -e "$OUTPUT/stop" ]; do
            kestrava_log "$@" >/dev/null 2>>"$OUTPUT/rewrite-errors.txt" ||
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
    kestrava_log entries | sed 's/ files.*//; s/.*  //'
}

# The window logs entries 1 to $1 while compact runs again and again, then the entries
# after to $2 while prune --keep-last 3 does; the history then holds every one of the
# first, in order, then the oldest and the newest three.
check_rewrites_beside_window() {
    local compacted=$1 last=$2 expected
    log_entries 1 1
    rewrite_until_stopped compact
    log_entries 2 "$compacted"
    stop_rewriting
    [ -s "$log.history" ] || fail "compact made no store"
    [ "$(counts)" = "$(seq $((base + 1)) $((base + compacted)))" ] ||
        fail "after compact beside the window, the entries list: $(counts | tr '\n' ' ')"

    rewrite_until_stopped prune --keep-last 3
    log_entries $((compacted + 1)) "$last"
    stop_rewriting
    kestrava_log prune --keep-last 3 >/dev/null || fail "the last prune failed"
    expected=$(printf '%s\n' $((base + 1)) $((base + last - 2)) $((base + last - 1)) $((base + last)))
    [ "$(counts)" = "$expected" ] ||
        fail "prune --keep-last 3 beside the window should leave entries of $(echo $expected)" \
            "files: $(counts | tr '\n' ' ')"
    close_kestrava "$window"
    echo "$(grep -c compact "$OUTPUT/rewrites.txt") compacts and" \
        "$(grep -c prune "$OUTPUT/rewrites.txt") prunes beside the window: no entry lost," \
        "doubled or reordered"
}
