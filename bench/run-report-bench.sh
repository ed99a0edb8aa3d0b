#!/bin/bash
# kestrava-log report on a busy day's history (1,440 entries of 50,000 files, generate-day,
# compacted into the store) and on a log of two entries of 1,000,000 files
# (generate-log): the time to write each report against the time `show -1 --json` takes
# to read the newest entry of the same history (median of 5 each), each report's size,
# and then each opened in headless chromium (bench/report-bench.js): the timeline drawn,
# a pair picked, a search's first files, the browser's memory.
# usage: bench/run-report-bench.sh [WORKDIR]
# WORKDIR needs about 7 GB free while the day's log is compacted; a temporary folder
# unless given (a day's store already there is used again).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava_log kestrava_generate_day \
    kestrava_generate_log >/dev/null
tests/browser/install-packages.sh build/release/tests/browser >/dev/null
program=$PWD/build/release/src/kestrava-log
export NODE_PATH=$PWD/build/release/tests/browser/node_modules
source bench/script-helpers.sh
work_folder report-bench "$@"


# report of LOG against show -1 --json of it; then the page in the browser, searching SEARCH.
bench() {
    local log=$1 page=$2 search=$3
    local report show
    report=$(median 5 "$program" --log "$log" report --html "$page")
    show=$(median 5 "$program" --log "$log" show -1 --json)
    printf 'report written: %.2f s (target: at most 5 s); show -1 --json: %.2f s; ratio %.1f\n' \
        "$report" "$show" "$(echo "$report / $show" | bc -l)"
    echo "report: $(stat -c %s "$page") bytes (target: at most 5,242,880 for the day)"
    node bench/report-bench.js "$page" "$search" 3
}

echo "== a day of 1,440 entries of 50,000 files, from the store =="
day=$work/day/Kestrava.txt
if [ ! -s "$day.history" ]; then
    mkdir -p "$work/day"
    build/release/bench/generate-day "$day"
    "$program" --log "$day" compact --keep-text 0 >/dev/null
fi
bench "$day" "$work/day.html" "report 7"

echo "== two entries of 1,000,000 files, from the text log =="
million=$work/million.txt
[ -s "$million" ] || build/release/bench/generate-log "$million" 1000000 2
bench "$million" "$work/million.html" "invoice 77777"
