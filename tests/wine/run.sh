#!/bin/sh
# Runs the Windows build's programs under wine, in a wine prefix of the build's own.
#
#   run.sh up STATE         makes the prefix (the first time), starts its wine server
#                           and a virtual screen for the tests' windows
#   run.sh down STATE       ends them again
#   run.sh exec STATE PROGRAM [ARGUMENT...]
#                           runs a program of the build (CTest's emulator)
#
# STATE is a folder of the build's own. A wine server that ends with its last program
# makes every start pay ~2.5 s for a new one; a server that stays, with the prefix's
# services started once, makes a start cost ~50 ms. Both are started detached from
# every pipe: a service that inherited CTest's output pipe would keep CTest waiting
# for ever.
set -eu

command=$1
state=$2
shift 2
mkdir -p "$state"
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
# Wine names files on the Linux side in the locale's encoding: without a UTF-8 locale
# (LANG unset, as for root on many machines) it can't make a folder named "Café".
export LC_ALL=C.UTF-8
# Making the prefix neither downloads Mono and Gecko nor asks for them.
export WINEDLLOVERRIDES="mscoree,mshtml="

server_up() {
    # Tests start in parallel: the first makes the prefix and the server, the others
    # wait for it. What stays running must not hold the lock (9>&-).
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot --init </dev/null >/dev/null 2>&1 9>&-
            wineserver -w 9>&-
        fi
        # 0 when this started the server, 2 when one is running already.
        if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
            wine wineboot </dev/null >/dev/null 2>&1 9>&-
        fi
    ) 9>"$state/lock"
}

screen_running() {
    [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

case "$command" in
    up)
        # Wine's desktop belongs to the server and takes its screen from the program
        # that starts it: a server that ran without a screen goes first.
        if ! screen_running; then
            wineserver -k 2>/dev/null || true
            rm -f "$state/display"
            # -displayfd: Xvfb takes a free display and says which once it is ready.
            setsid Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 \
                3>"$state/display" </dev/null >/dev/null 2>&1 &
            echo $! >"$state/xvfb.pid"
            for _ in $(seq 100); do
                [ -s "$state/display" ] && break
                sleep 0.1
            done
            [ -s "$state/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
        fi
        DISPLAY=":$(head -n 1 "$state/display")"
        export DISPLAY
        server_up
        ;;
    down)
        wineserver -k 2>/dev/null || true
        # The screen is awaited: one still going away could take a later screen of the
        # same number with it.
        if screen_running; then
            kill "$(cat "$state/xvfb.pid")"
            for _ in $(seq 50); do
                screen_running || break
                sleep 0.1
            done
        fi
        rm -f "$state/xvfb.pid" "$state/display"
        ;;
    exec)
        server_up
        if screen_running && [ -s "$state/display" ]; then
            DISPLAY=":$(head -n 1 "$state/display")"
            export DISPLAY
        else
            unset DISPLAY
        fi
        exec wine "$@"
        ;;
    *)
        echo "usage: $0 up|down|exec STATE [PROGRAM ARGUMENT...]" >&2
        exit 2
        ;;
esac
