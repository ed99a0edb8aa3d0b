#!/bin/bash
# Writes the fuzz targets' seeds from the real program's output: history logs that
# kestrava-log snapshot wrote of a tree with awkward names ("|", "?", a control
# character, UTF-8, a name not valid as UTF-8), cut and hand-edited the ways a crash or a
# person leaves them, and the stores that compact wrote of them.
# usage: make-seeds.sh KESTRAVA_LOG SEEDS_FOLDER
set -euo pipefail
kestrava_log=$1
corpus=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tree=$work/tree
mkdir -p "$tree/sub"
printf a >"$tree/pipe|name.txt"
printf bb >"$tree/ctl$(printf '\001')x.txt"
printf ccc >"$tree/sub/Café q?.txt"
printf d >"$tree/$(printf 'bad\377name')"
log=$work/Kestrava.txt
snap() { TZ=UTC "$kestrava_log" --log "$log" snapshot "$tree" >/dev/null; }
snap
printf eeeee >"$tree/pipe|name.txt"
printf n >"$tree/sub/new.txt"
snap
rm "$tree/sub/Café q?.txt"
snap

mkdir -p "$corpus"/{history-log,store-reading,store-round-trip}
logs=$work/logs
mkdir -p "$logs"
cp "$log" "$logs/odd-names"
size=$(stat -c %s "$log")
head -c $((size - 7)) "$log" >"$logs/torn-in-a-file-line"
second=$(grep -abo '^\[' "$log" | sed -n 3p | cut -d: -f1)
head -c $((second + 5)) "$log" >"$logs/torn-in-a-date-line"
head -c $((second + 30)) "$log" >"$logs/torn-in-a-header-line"
{ printf 'a line of some other program\r\n[not a date\r\n'; cat "$log"; } >"$logs/foreign-lines-first"
sed '5a\
a line typed by hand\r' "$log" >"$logs/foreign-lines-inside"
tr -d '\r' <"$log" >"$logs/line-feeds-alone"

for name in "$logs"/*; do
    cp "$name" "$corpus/history-log/$(basename "$name")"
    cp "$name" "$corpus/store-round-trip/$(basename "$name")"
    cp "$name" "$work/compacted.txt"
    "$kestrava_log" --log "$work/compacted.txt" compact --keep-text 0 >/dev/null
    if [ -f "$work/compacted.txt.history" ]; then
        cp "$work/compacted.txt.history" "$corpus/store-reading/$(basename "$name")"
        rm "$work/compacted.txt.history"
    fi
done
# A store that two compactions wrote, the second going on from the first.
cp "$log" "$work/twice.txt"
"$kestrava_log" --log "$work/twice.txt" compact --keep-text 2 >/dev/null
"$kestrava_log" --log "$work/twice.txt" compact --keep-text 0 >/dev/null
cp "$work/twice.txt.history" "$corpus/store-reading/compacted-twice"
