#!/bin/bash
# The built kestrava-log.exe under wine, as a Windows user runs it from a console or the
# Task Scheduler: snapshots into the log in %TEMP% and into one named with --log, what
# changed between them, the entries, one entry as CSV, and the exit statuses.
# usage: kestrava-log.sh WINE_RUNNER WINE_STATE KESTRAVA_LOG_EXE OUTPUT_FOLDER
set -euo pipefail
runner=$1
state=$2
program=$3
output=$(realpath -m "$4")
rm -rf "$output"
mkdir -p "$output"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# The Windows path of a path of this machine: wine's drive Z: is its root.
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}
# Runs kestrava-log.exe with the arguments; its status goes to $status, its output to
# out.txt and err.txt (files, not pipes: a wine server started here would hold a pipe).
run() {
    status=0
    "$runner" exec "$state" "$program" "$@" </dev/null >"$output/out.txt" 2>"$output/err.txt" ||
        status=$?
}
expect_status() {
    [ "$status" -eq "$1" ] || fail "kestrava-log.exe $2 ended with $status, not $1: $(cat "$output/err.txt")"
}

tree=$output/tree
mkdir -p "$tree/sub"
printf 'kept' >"$tree/kept.txt"
printf 'old' >"$tree/gone.txt"
printf '12' >"$tree/sub/grows.txt"
folder=$(windows_path "$tree")
log=$(windows_path "$output/history.txt")

run --log "$log" snapshot "$folder"
expect_status 0 "snapshot"
grep -q "^${folder//\\/\\\\}\\\\kept.txt|4 Bytes|.*"$'\r$' "$output/history.txt" ||
    fail "the log lacks kept.txt: $(cat -A "$output/history.txt")"
rm "$tree/gone.txt"
printf '12345' >"$tree/sub/grows.txt"
printf 'new' >"$tree/sub/new.txt"
run --log "$log" snapshot "$folder"
expect_status 0 "the second snapshot"

run --log "$log" diff
expect_status 1 "diff"
expected="- $folder\\gone.txt
M $folder\\sub\\grows.txt
+ $folder\\sub\\new.txt"
[ "$(head -n 3 "$output/out.txt")" = "$expected" ] || fail "diff says: $(cat "$output/out.txt")"
run --log "$log" entries
[ "$(wc -l <"$output/out.txt")" -eq 2 ] && grep -q '  3 files  +1 -1 M1$' "$output/out.txt" ||
    fail "entries says: $(cat "$output/out.txt")"
run --log "$log" show --csv
[ "$(head -n 1 "$output/out.txt")" = $'path,size,modified\r' ] || fail "show --csv: $(cat -A "$output/out.txt")"

# Paths as Windows logs them, with "\" and a drive: case is ignored and "/" in a pattern
# matches them; history from the text log and from the store alike.
run --log "$log" history GONE.TXT
expect_status 0 "history GONE.TXT"
[ "$(sed -n 1p "$output/out.txt")" = "$folder\gone.txt" ] &&
    grep -q '^  2  .*  vanished'$'\r''\?$' "$output/out.txt" ||
    fail "history GONE.TXT says: $(cat -A "$output/out.txt")"
run --log "$log" history "${folder//\\//}/SUB/**" --json
history_from_text=$(cat "$output/out.txt")
grep -q '"kind": "changed", "before": {"size": "2 Bytes"' "$output/out.txt" &&
    grep -q 'new.txt' "$output/out.txt" || fail "history of sub's files says: $history_from_text"
run --log "$log" diff --exclude 'Sub/' --exclude 'GONE.txt'
expect_status 0 "diff with every change left out"
cp "$output/history.txt" "$output/stored.txt"
run --log "$(windows_path "$output/stored.txt")" compact --keep-text 0
expect_status 0 "compact"
run --log "$(windows_path "$output/stored.txt")" history "${folder//\\//}/SUB/**" --json
[ "$(cat "$output/out.txt")" = "$history_from_text" ] ||
    fail "history from the store says: $(cat "$output/out.txt")"

# Without --log, the window's own log in %TEMP%.
run snapshot "$folder"
expect_status 0 "snapshot into the window's log"
run diff
expect_status 2 "diff of a log with one entry"
grep -q 'there is no entry -2: the log holds 1 whole entry' "$output/err.txt" ||
    fail "diff of one entry: $(cat "$output/err.txt")"
temp_log=$(find "$state/prefix/drive_c/users" -path '*/Temp/Kestrava.txt' | head -n 1)
[ -n "$temp_log" ] || fail "no Kestrava.txt in the user's temporary folder"
rm -f "$temp_log"

for arguments in "--log $(windows_path "$output/missing.txt") entries" "snapshot $folder\\missing" \
    "show 0"; do
    # shellcheck disable=SC2086
    run $arguments
    expect_status 2 "$arguments"
    [ "$(wc -l <"$output/err.txt")" -eq 1 ] || fail "$arguments: $(cat "$output/err.txt")"
done
echo "kestrava-log.exe: snapshots, diff, entries, show, history, filters and errors as expected"
