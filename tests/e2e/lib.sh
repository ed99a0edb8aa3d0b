# Shared steps of the end-to-end scenarios; sourced, not run.
# The scenario runs inside desktop-session.sh, which exports KESTRAVA and OUTPUT.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the program with settings, home and temporary folder of its own under OUTPUT.
start_kestrava() {
    export HOME="$OUTPUT/home" XDG_CONFIG_HOME="$OUTPUT/config" TEMP="$OUTPUT/temp"
    export XDG_RUNTIME_DIR="$OUTPUT/runtime" QT_QPA_PLATFORM=xcb
    mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME" "$TEMP" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    "$KESTRAVA" >"$OUTPUT/kestrava.log" 2>&1 &
    KESTRAVA_PID=$!
}

stop_kestrava() {
    kill "$KESTRAVA_PID" 2>/dev/null || true
    wait "$KESTRAVA_PID" 2>/dev/null || true
}

# Prints the id of the first visible window with exactly this title, waiting up to 10 s.
wait_for_window() {
    local title=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window titled '$title' appeared"
}

# Prints "WIDTHxHEIGHT" of a window's client area.
client_size() {
    xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}'
}

# Clicks at a point of a window's client area.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}
