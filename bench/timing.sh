# The benchmarks' clock, sourced by their scripts.

# Wall-clock seconds of a command, its output thrown away.
seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

# The median of RUNS runs of a command (a command that ends with a status other than 0,
# as diff does when it finds changes, is timed all the same).
median() {
    local runs=$1 times=()
    shift
    for _ in $(seq "$runs"); do
        times+=("$(seconds "$@" 2>/dev/null || true)")
    done
    printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p"
}
