#!/bin/bash
# Writes the stores of WrittenStores.h the present format's way: a history log that
# kestrava-log snapshot wrote of a tree with awkward names, then kestrava-log compact,
# on Linux and (kestrava-log.exe) under wine; prints each log and store as a constant.
# usage: make-written-stores.sh KESTRAVA_LOG KESTRAVA_LOG_EXE
set -euo pipefail
kestrava_log=$1
kestrava_log_exe=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A constant holding the file's bytes, escaped.
constant() {
    echo "inline constexpr std::string_view $1 ="
    od -An -v -tx1 "$2" | tr -s ' \n' '\n' | grep -v '^$' |
        awk '{ printf "\\x%s", $1; if (++n % 22 == 0) printf "\n" } END { printf "\n" }' |
        sed 's/^/    "/; s/$/"/'
    echo '    ""sv;'
}

linux=$work/linux
mkdir -p "$linux/tree/sub"
printf a >"$linux/tree/pipe|name.txt"
printf bb >"$linux/tree/ctl$(printf '\001')x.txt"
printf ccc >"$linux/tree/sub/Café q?.txt"
touch -d "2026-12-06 10:00:00" "$linux"/tree/*.txt "$linux"/tree/sub/*
snap() { LANG=en_GB.UTF-8 TZ=UTC "$kestrava_log" --log "$linux/Kestrava.txt" snapshot "$linux/tree" >/dev/null; }
snap
sleep 1
printf eeeee >"$linux/tree/pipe|name.txt"
printf n >"$linux/tree/sub/new.txt"
touch -d "2026-12-06 11:00:00" "$linux/tree/pipe|name.txt" "$linux/tree/sub/new.txt"
rm "$linux/tree/sub/Café q?.txt"
snap
cp "$linux/Kestrava.txt" "$linux/log.txt"
"$kestrava_log" --log "$linux/Kestrava.txt" compact --keep-text 0 >/dev/null
constant WrittenOnLinuxLog "$linux/log.txt"
constant WrittenOnLinuxStore "$linux/Kestrava.txt.history"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=UTC
windows=$work/windows
mkdir -p "$windows/tree/sub"
printf 12345 >"$windows/tree/name.txt"
printf ccc >"$windows/tree/sub/Café.txt"
touch -d "2026-12-06 10:00:00" "$windows/tree/name.txt" "$windows/tree/sub/Café.txt"
wine_path() { echo "Z:${1//\//\\}"; }
wine_log() { wine "$kestrava_log_exe" --log "$(wine_path "$windows/Kestrava.txt")" "$@" </dev/null >/dev/null 2>&1; }
wine_log snapshot "$(wine_path "$windows/tree")"
sleep 1
printf 123456789 >"$windows/tree/name.txt"
touch -d "2026-12-06 11:00:00" "$windows/tree/name.txt"
wine_log snapshot "$(wine_path "$windows/tree")"
cp "$windows/Kestrava.txt" "$windows/log.txt"
wine_log compact --keep-text 0
wineserver -k 2>/dev/null || true
constant WrittenOnWindowsLog "$windows/log.txt"
constant WrittenOnWindowsStore "$windows/Kestrava.txt.history"
