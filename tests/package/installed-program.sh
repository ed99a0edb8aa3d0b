#!/bin/bash
# The installed program on a desktop, started as its menu entry starts it: the
# window appears with the window class that the menu entry names, the hand cursor is
# read from the installation's data folder, and the start-at-logon entry that the
# program writes starts the installed program with the icon the package installed.
# Runs inside tests/e2e/run-in-desktop.sh, with KESTRAVA the installed program.
set -euo pipefail
source "$(dirname "$0")/../e2e/lib.sh"

menu_entry=/usr/share/applications/com.velquist.Kestrava.desktop
[ -f "$menu_entry" ] || fail "no menu entry at $menu_entry"
entry_value() { sed -n "s/^$1=//p" "$menu_entry"; }
program=$(command -v "$(entry_value Exec)") || fail "the menu entry's program isn't on PATH"
[ "$program" = "$KESTRAVA" ] || fail "the menu entry starts $program, not $KESTRAVA"

# strace starts the program and records every file it opens.
traced=$OUTPUT/traced-kestrava
cat >"$traced" <<EOF
#!/bin/sh
exec strace -f -qq -e trace=open,openat -o "$OUTPUT/opened.log" "$program"
EOF
chmod +x "$traced"

# The program is strace's child: it is the one to end, as strace would only let go of it.
stop_traced() {
    local child
    child=$(cat "/proc/$KESTRAVA_PID/task/$KESTRAVA_PID/children" 2>/dev/null) || true
    [ -z "$child" ] || kill $child 2>/dev/null || true
    stop_kestrava
}

export XDG_CONFIG_DIRS="$OUTPUT/xdg"
KESTRAVA=$traced start_kestrava
trap stop_traced EXIT
window=$(wait_for_window Kestrava)
sleep 0.5

wm_class=$(xprop -id "$window" WM_CLASS | sed 's/.*= //')
[[ "$wm_class" == *"\"$(entry_value StartupWMClass)\""* ]] ||
    fail "the window's class is $wm_class, the menu entry names $(entry_value StartupWMClass)"

cursor=/usr/share/kestrava/HAND-M.CUR
grep -Eq "open(at)?\((AT_FDCWD, )?\"$cursor\", [^)]*\) = [0-9]+$" "$OUTPUT/opened.log" ||
    fail "the program didn't open $cursor (its files: $OUTPUT/opened.log)"

# Check4, "Load this software on Windows startup", at (24, 438) pixels.
click_at "$window" 40 447
autostart_entry=$XDG_CONFIG_DIRS/autostart/kestrava.desktop
eventually test -f "$autostart_entry" || fail "ticking the box wrote no entry at $autostart_entry"
grep -qx "Exec=$program" "$autostart_entry" ||
    fail "the autostart entry doesn't start $program: $(cat "$autostart_entry")"
icon=$(sed -n 's/^Icon=//p' "$autostart_entry")
[ -f "/usr/share/icons/hicolor/48x48/apps/$icon.png" ] ||
    fail "the autostart entry names the icon '$icon', which the package didn't install"
report=$(desktop-file-validate "$autostart_entry") || fail "the autostart entry: $report"

xdotool key --clearmodifiers alt+F4
wait_for_kestrava_to_end
trap - EXIT
echo "installed program: window class $wm_class, cursor $cursor, autostart entry $autostart_entry"
