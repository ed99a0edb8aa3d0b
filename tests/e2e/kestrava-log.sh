#!/bin/bash
# The built kestrava-log as a user runs it from a shell or from cron, without a display:
# snapshots of a tree that changes, what changed between them, the entries, one entry as
# CSV; the exit statuses; logs that can't be read as entries; and logs of gigabytes,
# read from their end in a moment and whole in bounded memory.
# usage: kestrava-log.sh KESTRAVA_LOG OUTPUT_FOLDER
set -euo pipefail
program=$1
output=$2
rm -rf "$output"
mkdir -p "$output/temp" "$output/home"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Runs kestrava-log with the arguments; its status goes to $status, its output to
# out.txt and err.txt.
run() {
    status=0
    "$program" "$@" >"$output/out.txt" 2>"$output/err.txt" || status=$?
}
expect_status() {
    [ "$status" -eq "$1" ] || fail "kestrava-log $2 ended with $status, not $1: $(cat "$output/err.txt")"
}

# Qt's core gives it the window's locale; nothing of Qt that needs a display.
libraries=$(ldd "$program")
grep -q 'libQt6Core' <<<"$libraries" || fail "kestrava-log doesn't link Qt's core"
! grep -Eq 'libQt6(Gui|Widgets)' <<<"$libraries" || fail "kestrava-log links Qt's display libraries"

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM TMPDIR
export HOME="$output/home" TEMP="$output/temp" TZ=UTC LC_ALL=C.UTF-8
log=$TEMP/Kestrava.txt
tree=$output/tree
mkdir -p "$tree/sub"
printf 'kept' >"$tree/kept.txt"
printf 'old' >"$tree/gone.txt"
printf '12' >"$tree/sub/grows.txt"

run snapshot "$tree"
expect_status 0 "snapshot"
[ -s "$log" ] || fail "the snapshot wrote no log at $log"
rm "$tree/gone.txt"
printf '12345' >"$tree/sub/grows.txt"
printf 'new' >"$tree/sub/new.txt"
# A relative folder is made absolute, as the window's chooser gives it.
(cd "$tree/sub/.." && "$program" snapshot .) || fail "the snapshot of . failed"

run diff
expect_status 1 "diff"
expected="- $tree/gone.txt
M $tree/sub/grows.txt
+ $tree/sub/new.txt"
[ "$(head -n 3 "$output/out.txt")" = "$expected" ] ||
    fail "diff says: $(cat "$output/out.txt")"
grep -q ': 1 added, 1 removed, 1 modified$' "$output/out.txt" || fail "no summary: $(cat "$output/out.txt")"
run entries
[ "$(wc -l <"$output/out.txt")" -eq 2 ] && grep -q '^2  .*  3 files  +1 -1 M1$' "$output/out.txt" ||
    fail "entries says: $(cat "$output/out.txt")"
run show --csv
[ "$(head -n 1 "$output/out.txt")" = $'path,size,modified\r' ] || fail "show --csv: $(cat "$output/out.txt")"
"$program" snapshot "$tree" || fail "the third snapshot failed"
run diff
expect_status 0 "diff of two snapshots of an unchanged tree"

# Patterns as a shell hands them over: a folder left out by a file of patterns with
# Windows line ends, a name by the command line; one that can't be read is an error.
printf '# not walked\r\nsub/\r\n' >"$output/patterns.txt"
patterned=$output/patterned.txt
"$program" --log "$patterned" snapshot "$tree" || fail "a snapshot into $patterned failed"
run --log "$patterned" snapshot "$tree" --exclude-from "$output/patterns.txt" --exclude 'nothing*'
expect_status 0 "snapshot --exclude-from"
run --log "$patterned" diff
expect_status 1 "diff after a snapshot that left sub/ out"
[ "$(head -n 2 "$output/out.txt")" = "- $tree/sub/grows.txt
- $tree/sub/new.txt" ] || fail "diff after --exclude-from says: $(cat "$output/out.txt")"
run --log "$patterned" snapshot "$tree" --exclude '[oops'
expect_status 2 "snapshot --exclude '[oops'"
grep -q '^kestrava-log: not a pattern: "\[oops"' "$output/err.txt" ||
    fail "a bad pattern: $(cat "$output/err.txt")"

# What happened to one file, and to one folder's files, from the text log and from the
# store alike; filters on the commands that read, from a shell.
run history gone.txt
expect_status 0 "history gone.txt"
[ "$(sed -n 1p "$output/out.txt")" = "$tree/gone.txt" ] &&
    grep -q '^  1  .*  appeared  3 Bytes  ' "$output/out.txt" &&
    grep -q '^  2  .*  vanished$' "$output/out.txt" || fail "history gone.txt says: $(cat "$output/out.txt")"
run history 'sub/' --json --exclude 'new.*'
grep -q '"kind": "changed", "before": {"size": "2 Bytes"' "$output/out.txt" &&
    ! grep -q 'new.txt' "$output/out.txt" || fail "history sub/ --json says: $(cat "$output/out.txt")"
history_from_text=$(cat "$output/out.txt")
cp "$log" "$output/stored.txt"
run --log "$output/stored.txt" compact --keep-text 1
expect_status 0 "compact"
run --log "$output/stored.txt" history 'sub/' --json --exclude 'new.*'
[ "$(cat "$output/out.txt")" = "$history_from_text" ] || fail "history from the store says: $(cat "$output/out.txt")"
run history nothing.txt
expect_status 1 "history of a name never logged"
printf 'sub/\n' >"$output/left-out.txt"
run diff 1 2 --exclude gone.txt --exclude-from "$output/left-out.txt"
expect_status 0 "diff of entries whose changes are all left out"
run entries --exclude 'sub/'
grep -q '^2  .*  1 file  +0 -1 M0$' "$output/out.txt" || fail "entries --exclude sub/ says: $(cat "$output/out.txt")"

# Errors: one line each, and status 2; a snapshot that can't write writes nothing.
for arguments in "--log $output/missing.txt entries" "--log $program diff" "show 9" "diff 0" \
    "snapshot $tree/missing" "--log $output/missing/log.txt snapshot $tree"; do
    # shellcheck disable=SC2086
    run $arguments
    expect_status 2 "$arguments"
    [ "$(wc -l <"$output/err.txt")" -eq 1 ] || fail "$arguments: $(cat "$output/err.txt")"
done
[ ! -e "$output/missing" ] && [ ! -e "$tree/missing" ] || fail "a failed snapshot made something"

# A log cut in the middle of a line: the torn entry is reported, the others answer.
head -c -5 "$log" >"$output/torn.txt"
run --log "$output/torn.txt" diff
expect_status 1 "diff of a torn log"
grep -q 'is torn' "$output/err.txt" || fail "the torn entry wasn't reported: $(cat "$output/err.txt")"

# Logs of gigabytes: 20 GB before its last two entries (a sparse file, taking no disk),
# which diff reads from the end in a moment; and 2 GB before them, which entries reads
# whole in memory that stays small.
entry() {
    printf '[12/%d/2026 3:00:00 AM]\r\nFile|Size|Date Modified\r\n/w/a.txt|%s|12/1/2026\r\n' "$1" "$2"
}
for size in 20G 2G; do
    big=$output/big-$size.txt
    truncate -s "$size" "$big"
    { printf '\r\n'; entry 7 "1 KB"; entry 8 "2 KB"; } >>"$big"
done
# Bounds on what the program may take, not on the wall clock a loaded machine stretches:
# 3 CPU seconds could not even read 20 GB of zeros, and 400 MB of address space could
# not hold 2 GB. AddressSanitizer reserves terabytes of address space up front, so a
# build with it is held to the CPU bound alone.
memory=400000
! grep -q 'libasan' <<<"$libraries" || memory=unlimited
(ulimit -t 3 -v "$memory" && "$program" --log "$output/big-20G.txt" diff >"$output/out.txt") ||
    [ $? -eq 1 ] || fail "diff of a 20 GB log failed"
grep -q '^M /w/a.txt$' "$output/out.txt" || fail "diff of a 20 GB log: $(cat "$output/out.txt")"
(ulimit -v "$memory" && "$program" --log "$output/big-2G.txt" entries >"$output/out.txt" 2>"$output/err.txt") ||
    fail "entries of a 2 GB log failed: $(cat "$output/err.txt")"
[ "$(wc -l <"$output/out.txt")" -eq 2 ] || fail "entries of a 2 GB log: $(cat "$output/out.txt")"
grep -q 'bytes of the log are no entry' "$output/err.txt" || fail "the 2 GB without entries went unsaid"
rm -f "$output"/big-*.txt
echo "kestrava-log: snapshots, diff, entries, show, history, filters and errors as expected"
