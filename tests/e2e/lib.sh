# Shared steps of the end-to-end scenarios; sourced, not run.
# The scenario runs inside desktop-session.sh, which exports KESTRAVA and OUTPUT.

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${KESTRAVA_PID:-}" ] && ! kill -0 "$KESTRAVA_PID" 2>/dev/null; then
        local status=0
        wait "$KESTRAVA_PID" 2>/dev/null || status=$?
        echo "      (the program had ended, with status $status)" >&2
    fi
    exit 1
}

# Starts the program, with the arguments given, and with settings, home and temporary
# folder of its own under OUTPUT. The variables named in KESTRAVA_UNSET are left unset.
start_kestrava() {
    export HOME="$OUTPUT/home" XDG_CONFIG_HOME="$OUTPUT/config" TEMP="$OUTPUT/temp"
    export XDG_RUNTIME_DIR="$OUTPUT/runtime" QT_QPA_PLATFORM=xcb
    mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME" "$TEMP" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    local variable
    for variable in ${KESTRAVA_UNSET:-}; do
        unset "$variable"
    done
    "$KESTRAVA" "$@" >"$OUTPUT/kestrava.log" 2>&1 &
    KESTRAVA_PID=$!
}

# Writes the settings file the program starts with: one key=value line per argument.
store_settings() {
    mkdir -p "$OUTPUT/config"
    { echo '[Kestrava]'; printf '%s\n' "$@"; } >"$OUTPUT/config/Velquist.conf"
}

# Makes a tree of FOLDERS folders with FILES empty files each below FOLDER.
make_tree() {
    local top=$1 folders=$2 files=$3 folder
    for folder in $(seq "$folders"); do
        mkdir -p "$top/$folder"
        (cd "$top/$folder" && touch $(seq "$files"))
    done
}

# Clicks "Log Current Status Now (Test)", at (4080, 7120) twips: (272, 475) pixels.
click_log_now() {
    click_at "$1" 400 488
}

# Clicks "Clear History Log", at (4080, 8140) twips: (272, 543) pixels.
click_clear_history() {
    click_at "$1" 400 556
}

# Answers the message box that the program's window $1 brought up with the key $2, as
# a user would: the box is the other window on the screen titled "Kestrava". The key is
# pressed and released where the focus is, never sent to a window: a key sent to a
# window after activating it has been seen to stay held down, and auto-repeat then
# answers every box that follows.
answer_box() {
    local box=""
    for _ in $(seq 100); do
        box=$(xdotool search --onlyvisible --name '^Kestrava$' 2>/dev/null | grep -vx "$1" |
            head -n 1) || true
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no message box came up"
    xdotool windowactivate --sync "$box"
    xdotool key --clearmodifiers "$2"
}

# Logs the folder of the program's window $1 with "Log Current Status Now (Test)", and
# once that snapshot has written part of its entry to the log $2, answers "Clear History
# Log" with Yes: the log must go, and stay gone for $4 seconds. Then types the folder
# $3 into the folder box and logs it, until its entry begins.
clear_during_a_snapshot_then_log() {
    local window=$1 log=$2 folder=$3 quiet=$4
    click_log_now "$window"
    eventually test -s "$log" || fail "the snapshot wrote nothing"
    click_clear_history "$window"
    answer_box "$window" Return
    eventually test ! -e "$log" || fail "the log was not deleted"
    sleep "$quiet"
    ! test -e "$log" || fail "the interrupted snapshot wrote on: $(head -c 300 "$log" | cat -A)"
    click_at "$window" 200 101  # the folder box
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$folder"
    click_log_now "$window"
    eventually test -s "$log" || fail "the next snapshot wrote nothing"
}

# How many lines of the file $1 hold the text $2 (none while there is no file).
lines_holding() {
    [ -e "$1" ] || { echo 0 && return; }
    grep -cF "$2" "$1" || true
}

# Runs a command again and again, at least once, until the file $1 holds $3 lines with
# the text $2 in them; fails after $4 seconds. RUNS tells how often it ran.
repeat_until_lines() {
    local file=$1 text=$2 count=$3 limit=$4 started=$SECONDS
    shift 4
    RUNS=0
    until [ "$RUNS" -gt 0 ] && [ "$(lines_holding "$file" "$text")" -ge "$count" ]; do
        [ $((SECONDS - started)) -lt "$limit" ] ||
            fail "the file $file held no $count lines with '$text' within $limit s"
        "$@"
        RUNS=$((RUNS + 1))
    done
}

# Checks that every entry of the log is whole: its date line, its header line, then
# FILES lines of one folder alone, where FOLDERS (a regular expression) tells the
# folders apart, as the first part of each path that matches it. The newest entry
# may have fewer lines: the program that wrote it may have been closed in its middle.
# Prints how many entries each folder has.
check_whole_entries() {
    local log=$1 files=$2 folders=$3
    tr -d '\r' <"$log" | awk -v files="$files" -v pattern="$folders" '
        function close_entry(newest) {
            if (entry == 0) return
            if (header != 1) { print "entry " entry " has no header line"; bad = 1 }
            if (count != files && !newest) {
                print "entry " entry " (" folder ") has " count " files, not " files; bad = 1
            }
            entries[folder]++
        }
        /^\[/ { close_entry(0); entry++; header = 0; count = 0; folder = ""; next }
        $0 == "File|Size|Date Modified" { header++; next }
        {
            if (!match($0, pattern)) { print "a line of no folder: " $0; bad = 1; next }
            own = substr($0, RSTART, RLENGTH)
            if (folder == "") folder = own
            if (own != folder) { print "entry " entry " mixes " folder " with " own; bad = 1 }
            count++
        }
        END {
            close_entry(1)
            for (f in entries) print entries[f] " entries of " f
            exit bad
        }' || fail "the log holds entries that are not whole"
}

# Whether a window with exactly this title is on the screen.
window_titled() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        [ "$(xdotool getwindowname "$id")" = "$1" ] && return 0
    done
    return 1
}

stop_kestrava() {
    kill "$KESTRAVA_PID" 2>/dev/null || true
    wait "$KESTRAVA_PID" 2>/dev/null || true
}

# Waits for the program to end by itself and fails unless it ended well. A program
# that ends takes a fraction of a second, a loaded machine a few; one that runs on
# after a minute won't end, and what it was doing is recorded (WINDOW: its window).
wait_for_kestrava_to_end() {
    for _ in $(seq 600); do
        kill -0 "$KESTRAVA_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$KESTRAVA_PID" 2>/dev/null; then
        record_hung_program "${1:-none}"
        fail "the program did not end"
    fi
    local status=0
    wait "$KESTRAVA_PID" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# Closes the program's window as a user does, with alt+F4 through the window manager,
# and waits for the program to end. The key is pressed where the focus is: xdotool
# sends a key meant for a window it was given (a "key" chained after "windowactivate",
# or --window) to that window alone whenever the window doesn't hold the input focus
# yet, and the window manager never sees it. A program slow to take the focus, as one
# built with AddressSanitizer is, then never gets its close.
close_kestrava() {
    xdotool windowactivate --sync "$1"
    xdotool key --clearmodifiers alt+F4
    wait_for_kestrava_to_end "$1"
}

# Prints the id of the first visible window with exactly this title, waiting up to 10 s.
# (xdotool matches names without regard to case, and the tray icon's window is named
# after the program in lower case.)
wait_for_window() {
    local title=$1 id
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); do
            if [ "$(xdotool getwindowname "$id")" = "$title" ]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    xwininfo -root -tree >"$OUTPUT/windows.txt" 2>&1 || true
    fail "no window titled '$title' appeared (the windows: $OUTPUT/windows.txt)"
}

# Runs a test command every 0.1 s until it succeeds, for up to 10 s.
eventually() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Whether a window is on the screen.
is_viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# The window manager's state of a window: Normal, Iconic, or nothing when the window
# is withdrawn (hidden by its program).
wm_state() {
    xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ {print $3}'
}

# Starts trayer, the tray host, at the bottom right and waits for its panel; exports
# its process as TRAY_HOST_PID.
start_tray_host() {
    # On a loaded machine the host can start before the display takes clients and give
    # up at once; it is started again then.
    for _ in 1 2 3; do
        trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
            --SetDockType true --expand false >>"$OUTPUT/trayer.log" 2>&1 &
        export TRAY_HOST_PID=$!
        eventually panel_window >/dev/null && return 0
        kill -0 "$TRAY_HOST_PID" 2>/dev/null && break
    done
    fail "the tray host's panel did not appear"
}

# Waits until the display takes clients.
wait_for_display() {
    eventually xdotool getdisplaygeometry >/dev/null || fail "the display $DISPLAY never answered"
}

# Whether a window manager runs on the display.
has_window_manager() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

# Starts openbox and waits until it manages the screen; exports its process as
# WINDOW_MANAGER_PID. One that gave up at once is started again.
start_window_manager() {
    for _ in 1 2 3; do
        openbox >>"$OUTPUT/openbox.log" 2>&1 &
        export WINDOW_MANAGER_PID=$!
        eventually window_manager_settled
        if has_window_manager; then
            settle_keyboard_map
            return 0
        fi
        kill -0 "$WINDOW_MANAGER_PID" 2>/dev/null && break
    done
    fail "no window manager came up ($OUTPUT/openbox.log)"
}

# The first key xdotool presses moves the server's keyboard over to xdotool's own
# device, and the server announces a new key map. The window manager answers by
# dropping all its key bindings and taking them again; a key pressed in between (the
# F4 of alt+F4) slips past it to the focused window, and the close is lost. One key
# pressed before any scenario starts makes that move while nothing depends on it.
settle_keyboard_map() {
    xdotool key shift
}

# Whether the window manager runs on the screen, or its process ended.
window_manager_settled() {
    has_window_manager || ! kill -0 "$WINDOW_MANAGER_PID" 2>/dev/null
}

# Writes what the desktop and the running program were doing to OUTPUT, for a
# scenario that failed while the program still ran.
record_hung_program() {
    local window=$1 report="$OUTPUT/hung.txt"
    {
        echo "window manager: $(has_window_manager && echo running || echo none)"
        echo "active window: $(xdotool getactivewindow 2>/dev/null || echo none), ours: $window"
        echo "our window: $(xwininfo -id "$window" 2>/dev/null | grep 'Map State' || echo gone)"
        echo "process: $(cat "/proc/$KESTRAVA_PID/stat" 2>/dev/null)"
        echo "waiting in: $(cat "/proc/$KESTRAVA_PID/wchan" 2>/dev/null)"
        if command -v gdb >/dev/null; then
            timeout 30 gdb -p "$KESTRAVA_PID" -batch -ex 'thread apply all bt' 2>&1
        fi
    } >"$report" 2>&1
    import -window root "$OUTPUT/hung.png" 2>/dev/null || true
    echo "      (what the program was doing: $report, the screen: $OUTPUT/hung.png)" >&2
    cat "$report" >&2
}

# Prints the tray host's panel window; fails when there is none.
panel_window() {
    local id
    id=$(xdotool search --name '^panel$' 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && echo "$id"
}

# How xwininfo shows the windows of the tray icon and the balloon: the program's own.
# (Under wine they are its desktop's, explorer.exe's.)
ICON_WINDOWS='"kestrava": \("kestrava"'

# Prints the window of Kestrava's icon in the tray host's panel; fails when it isn't there.
# (awk reads on to the end: xwininfo would fail writing into a closed pipe.)
tray_icon() {
    local panel id
    panel=$(panel_window) || return 1
    id=$(xwininfo -tree -id "$panel" | ICON_WINDOWS=$ICON_WINDOWS \
        awk '$0 ~ ENVIRON["ICON_WINDOWS"] && !found {print $1; found = 1}')
    [ -n "$id" ] && echo "$id"
}

# Clicks on Kestrava's tray icon with a mouse button (1 left, 3 right).
# The pointer leaves it afterwards, so that no tip comes up.
click_tray_icon() {
    xdotool mousemove --window "$(tray_icon)" 11 15 click "$1" mousemove 5 5
}

# Prints the tray balloon's window while one is on the screen; fails otherwise.
balloon_window() {
    local id
    id=$(xwininfo -root -children | ICON_WINDOWS=$ICON_WINDOWS awk '$0 ~ ENVIRON["ICON_WINDOWS"] {print $1}' |
        while read -r candidate; do
            is_viewable "$candidate" && echo "$candidate"
        done | head -n 1)
    [ -n "$id" ] && echo "$id"
}

# Prints "WIDTHxHEIGHT" of a window's client area.
client_size() {
    xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}'
}

# Clicks at a point of a window's client area.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Minimising $window hides it into the tray, with the balloon the first time only; a
# left click and a right click on the icon each bring it back in front, at its size.
check_tray_round_trip() {
    hidden_in_tray() { ! is_viewable "$window" && [ -z "$(wm_state "$window")" ]; }
    shown_in_front() {
        is_viewable "$window" && [ "$(wm_state "$window")" = Normal ] &&
            [ "$(xdotool getactivewindow)" = "$window" ]
    }

    xdotool windowminimize "$window"
    eventually hidden_in_tray || {
        xwininfo -root -tree >"$OUTPUT/windows.txt"
        import -window root "$OUTPUT/not-hidden.png"
        fail "minimising did not hide the window (state '$(wm_state "$window")'," \
            "$(xwininfo -id "$window" | grep 'Map State'))"
    }
    eventually balloon_window >/dev/null || fail "no balloon at the first minimise"
    import -window root "$OUTPUT/balloon.png"

    click_tray_icon 1
    eventually shown_in_front || fail "a left click on the icon did not bring the window back"
    # The balloon goes after its 5 seconds; a second minimise brings none.
    no_balloon() { ! balloon_window >/dev/null; }
    eventually no_balloon || fail "the balloon stayed"

    xdotool windowminimize "$window"
    eventually hidden_in_tray || fail "the second minimise did not hide the window"
    sleep 1
    no_balloon || fail "a balloon at the second minimise"

    click_tray_icon 3
    eventually shown_in_front || fail "a right click on the icon did not bring the window back"
    [ "$(client_size "$window")" = "536x577" ] || fail "the window came back at $(client_size "$window")"
}

# A start in the tray: the balloon comes up and the window never reaches the screen
# meanwhile; the icon is in the tray, and a left click on it shows the window, which
# this prints.
check_start_in_tray() {
    local window
    main_window() { xwininfo -root -tree | awk '/ "Kestrava": \(/ && !found {print $1; found = 1}'; }
    eventually balloon_window >/dev/null || fail "no balloon at a minimised start"
    # The window must not flash: for the balloon's first seconds it never shows.
    for _ in $(seq 20); do
        window=$(main_window)
        [ -z "$window" ] || ! is_viewable "$window" || fail "the window came on the screen"
        sleep 0.1
    done
    tray_icon >/dev/null || fail "no icon in the tray"
    import -window root "$OUTPUT/minimized-start.png"
    click_tray_icon 1
    wait_for_window Kestrava
}
