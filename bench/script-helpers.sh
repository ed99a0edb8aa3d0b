# What the benchmark scripts share, sourced by them: their work folder and their clock.

# Sets `work` to FOLDER, made if need be, or else to a temporary folder removed at exit.
# usage: work_folder NAME [FOLDER]
work_folder() {
    if [ $# -ge 2 ]; then
        work=$2
        mkdir -p "$work"
    else
        work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-$1-XXXXXX")
        trap 'rm -rf "$work"' EXIT
    fi
}

# Wall-clock seconds of a command, its output thrown away. Read from bash's own clock: a
# `date` run before and after would add its own start to what is timed, and its jitter.
seconds() {
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null
    end=$EPOCHREALTIME
    echo "${end/,/.} - ${start/,/.}" | bc -l
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

# The median of the times in a list of them, one a line.
median_of() {
    local count
    count=$(grep -c . <<<"$1")
    grep . <<<"$1" | sort -g | sed -n "$(((count + 1) / 2))p"
}
