#!/bin/bash
# Fuzzes every reader of a file that another program or user may write: installs what
# it needs, builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (the fuzz preset) and runs each for SECONDS (60 unless
# given), at the lowest priority, from its seeds, its corpus and what earlier runs on this
# machine found (build/fuzz/corpus/TARGET, merged to the fewest inputs that reach as far).
# The repository's corpus (tests/fuzz/corpus/TARGET) keeps every input that crashed, hung
# or took too much memory, under the name the fuzzer gave it (the command then fails),
# and a few of the largest inputs found, to stay small.
# Each input must be read within 10 seconds (a hundred times what the slowest needs
# alone: the fuzzer runs at the lowest priority, behind anything else the machine does)
# and never ask for more than 64 MB at once: inputs are at most 16 KB, so that is a
# bounded multiple of the input.
# usage: fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh fuzz
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
    targets=(history-log store-reading store-round-trip settings autostart-entry patterns)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
# The targets write each input as a file: in memory where the machine offers it.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

limits=(-timeout=10 -malloc_limit_mb=64 -rss_limit_mb=2048 -max_len=16384)
kept_found=24
failures=(-name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*'
          -o -name 'slow-unit-*')
failed=()
for target in "${targets[@]}"; do
    echo "== $target =="
    program=build/fuzz/tests/fuzz/fuzz-$target
    kept=tests/fuzz/corpus/$target
    work=build/fuzz/corpus/$target
    mkdir -p "$kept" "$work"
    if ! nice -n 19 "$program" "${limits[@]}" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$kept/" "$work" "$kept" "tests/fuzz/seeds/$target"; then
        failed+=("$target")
    fi
    merged=$(mktemp -d)
    nice -n 19 "$program" "${limits[@]}" -merge=1 -artifact_prefix=build/fuzz/merge- "$merged" \
        "$work" >/dev/null 2>&1 || true
    rm -rf "$work"
    mv "$merged" "$work"
    find "$kept" -maxdepth 1 -type f ! \( "${failures[@]}" \) -delete
    mapfile -t largest < <(find "$work" -maxdepth 1 -type f -size -4097c -printf '%s %p\n' |
        sort -rn | cut -d' ' -f2-)
    [ ${#largest[@]} -eq 0 ] || cp -t "$kept" "${largest[@]:0:$kept_found}"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]} (their inputs are in tests/fuzz/corpus/)" >&2
    exit 1
fi
