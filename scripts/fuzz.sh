#!/bin/bash
# Fuzzes every reader of a file that another program or user may write: installs what
# it needs, builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (the fuzz preset) and runs each for SECONDS (60 unless
# given), at the lowest priority. What reaches further is merged into the target's corpus
# (tests/fuzz/corpus/TARGET), kept small; an input that crashed, hung or took too much
# memory is kept there too, under the name the fuzzer gave it, and the command fails.
# Each input must be read within a second and never ask for more than 64 MB at once:
# the inputs are at most 16 KB, so that is a small multiple of the input.
# usage: fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh fuzz
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
    targets=(history-log store-reading store-round-trip settings autostart-entry)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
# The targets write each input as a file: in memory where the machine offers it.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

limits=(-timeout=1 -malloc_limit_mb=64 -rss_limit_mb=2048 -max_len=16384)
failed=()
for target in "${targets[@]}"; do
    echo "== $target =="
    program=build/fuzz/tests/fuzz/fuzz-$target
    corpus=tests/fuzz/corpus/$target
    found=$(mktemp -d)
    mkdir -p "$corpus"
    if ! nice -n 19 "$program" "${limits[@]}" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$corpus/" "$found" "$corpus" "tests/fuzz/seeds/$target"; then
        failed+=("$target")
    fi
    # The smallest set of inputs that reaches as far, and every input that ever failed.
    merged=$(mktemp -d)
    nice -n 19 "$program" "${limits[@]}" -merge=1 "$merged" "$corpus" "$found" >/dev/null 2>&1
    find "$corpus" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' \
        -o -name 'leak-*' -o -name 'slow-unit-*' \) -exec cp {} "$merged" \;
    rm -rf "$corpus" "$found"
    mv "$merged" "$corpus"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]} (their inputs are in tests/fuzz/corpus/)" >&2
    exit 1
fi
