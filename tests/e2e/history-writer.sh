# Sourced by the scenarios of a history rewritten (compact, prune) while another
# process appends to it: a tree of 2,000 files, enough that an entry takes a moment to
# read, and a writer that adds a file before each of its snapshots, so that entry N
# lists 2,000 + N files and any entry lost, doubled or out of order shows in the counts.
# Expects program, log, tree and output to be set; name_mark, the mark in each file's
# name, is "|" unless set (Windows allows none).
base=2000

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

make_tree() {
    local folder file
    for folder in $(seq 1 40); do
        mkdir -p "$tree/folder $folder"
        for file in $(seq 1 50); do
            printf '%s' "$file" >"$tree/folder $folder/file${name_mark:-|}$file.txt"
        done
    done
}

# start_writer SNAPSHOTS: appends them in the background (its PID in $writer, its
# complaints in $output/writer.txt) and returns once the log has its first bytes.
start_writer() {
    (
        for n in $(seq 1 "$1"); do
            printf 'x' >"$tree/added $n.txt"
            "$program" --log "$log" snapshot "$tree" >/dev/null 2>&1 || echo "snapshot $n failed"
        done
    ) >"$output/writer.txt" &
    writer=$!
    while [ ! -s "$log" ] && kill -0 "$writer" 2>/dev/null; do sleep 0.01; done
}
