#!/bin/bash
# The Windows installer's round trip under wine, in a wine prefix of its own on a
# virtual screen: builds the installer (scripts/package.sh windows), installs it
# silently, starts the installed program from its Start-menu shortcut, has it take a
# snapshot and register itself to start at logon, and runs the uninstaller that the
# uninstall entry names, silently, while the program still runs. Nothing of the
# installation may stay, nor the program's Run values for all users and for the
# user; the user's settings, the history log and other programs' Run values stay.
# Given a Windows tree already built (scripts/test.sh's), it packs that one.
# usage: test-installer.sh [TREE]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh test

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Runs a check up to 30 s until it holds.
eventually() {
    for _ in $(seq 150); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

echo "== installer =="
scripts/package.sh windows ${1:+--from "$1"}
installer=$(ls "$PWD"/dist/Kestrava-*-win64.exe)
started=$SECONDS

state=$PWD/build/windows-package/installer-test
rm -rf "$state"
mkdir -p "$state"
export WINEPREFIX=$state/prefix
export WINEDEBUG=-all
# Wine names files on the Linux side in the locale's encoding, whatever the caller's.
export LC_ALL=C.UTF-8
# No Mono or Gecko for the prefix, and nothing of it reaches the host's menus or its
# browser (the program now and then opens its maker's site).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winebrowser.exe=d"
log=$state/wine.log
xvfb_pid=""
openbox_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    # The screen is awaited: one still going away can take the next screen of its
    # number with it.
    for pid in $openbox_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

# Every wine program is kept off this script's output: the wine server and the
# prefix's services outlive the program that started them and would hold it open.
run_wine() { wine "$@" </dev/null >>"$log" 2>&1; }
has_key() { run_wine reg query "$1"; }
# has_value KEY NAME [DATA]
has_value() {
    wine reg query "$1" /v "$2" </dev/null >"$state/value.txt" 2>>"$log" || return 1
    [ $# -lt 3 ] || grep -qF "REG_SZ    $3" "$state/value.txt"
}

# -displayfd: Xvfb takes a free display and says which once it is ready.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$state/display" \
    </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
eventually test -s "$state/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$state/display")"
openbox </dev/null >/dev/null 2>&1 &
openbox_pid=$!

echo "== prefix =="
wineboot --init </dev/null >>"$log" 2>&1
timeout 120 wineserver -w

program_folder='C:\Program Files\Kestrava'
host_folder="$WINEPREFIX/drive_c/Program Files/Kestrava"
menu_folder="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kestrava"
run='Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrava Installation'
settings='HKCU\Software\Velquist\Kestrava'
# The user's settings name the installation as the folder to log; another program
# starts at logon too.
cat >"$state/planted.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Velquist\\Kestrava]
"Text1"="C:\\\\Program Files\\\\Kestrava\\\\"

[HKEY_LOCAL_MACHINE\\$run]
"other.exe"="C:\\\\other.exe"

[HKEY_CURRENT_USER\\$run]
"other.exe"="C:\\\\other.exe"
EOF
# Wine's drive Z: is the host's root.
run_wine regedit /S "Z:${state//\//\\}\\planted.reg"
has_value "HKLM\\$run" other.exe || fail "the unrelated Run value wasn't planted"

echo "== install =="
run_wine "$installer" /S || fail "the installer failed"
for file in kestrava.exe kestrava-log.exe HAND-M.CUR Uninstall.exe; do
    [ -f "$host_folder/$file" ] || fail "the installer didn't put $file into $program_folder"
done
for link in Kestrava.lnk Uninstall.lnk; do
    [ -f "$menu_folder/$link" ] || fail "the installer made no Start-menu shortcut $link"
done
has_value "$uninstall_key" DisplayName Kestrava || fail "no uninstall entry named Kestrava"
# Into a file, not a pipe: a wine server that this starts would hold a pipe open.
wine "$program_folder\\kestrava-log.exe" --version </dev/null >"$state/version.txt" 2>>"$log" ||
    fail "the installed kestrava-log.exe didn't run"
grep -qx 'kestrava-log [0-9.]*' "$state/version.txt" ||
    fail "the installed kestrava-log.exe says '$(cat "$state/version.txt")'"

echo "== the installed program =="
run_wine start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Kestrava\Kestrava.lnk'
find_window() {
    window=$(xdotool search --name '^Kestrava$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
eventually find_window || fail "the Start-menu shortcut opened no window titled Kestrava"
pid=$(xprop -id "$window" _NET_WM_PID | sed 's/.*= //')
program=$(tr '\0' '\n' <"/proc/$pid/cmdline" | head -n 1)
[ "$program" = "$program_folder\\kestrava.exe" ] || fail "the window is $program's"
sleep 0.5
# Check4, "Load this software on Windows startup", at (24, 438) pixels; PushButton6,
# "Log Current Status Now (Test)", at (272, 475).
xdotool mousemove --window "$window" 40 447 click 1
eventually has_value "HKLM\\$run" kestrava.exe "\"$program_folder\\kestrava.exe\"" ||
    fail "ticking the box wrote no Run value for all users"
xdotool mousemove --window "$window" 400 488 click 1
history_log() {
    history=$(find "$WINEPREFIX/drive_c/users" -path '*/Temp/Kestrava.txt' | head -n 1)
    [ -n "$history" ] && grep -qF "$program_folder\\HAND-M.CUR|" "$history"
}
eventually history_log || fail "the snapshot of the installation reached no history log"
# Where the machine's key refused it once, the program wrote the user's value.
run_wine reg add "HKCU\\$run" /v kestrava.exe /d "$program_folder\\kestrava.exe" /f

echo "== uninstall =="
has_value "$uninstall_key" UninstallString || fail "the uninstall entry names no uninstaller"
uninstaller=$(sed -n 's/.*REG_SZ    "\(.*\)"\r*$/\1/p' "$state/value.txt")
[ "$uninstaller" = "$program_folder\\Uninstall.exe" ] || fail "the uninstall entry runs $uninstaller"
# The uninstaller hands its work to a copy of itself and returns: the server ends once
# that copy, the program it closed and the prefix's services are done.
run_wine "$uninstaller" /S || fail "the uninstaller failed"
timeout 60 wineserver -w || fail "the uninstaller or the program it was to close went on"
! kill -0 "$pid" 2>/dev/null || fail "the uninstaller left the program running"
# A server that stays makes each query below cost milliseconds rather than seconds.
wineserver -p </dev/null >/dev/null 2>&1

[ ! -e "$host_folder" ] || fail "the uninstaller left $program_folder: $(ls -A "$host_folder")"
[ ! -e "$menu_folder" ] || fail "the uninstaller left the Start-menu folder"
! has_key "$uninstall_key" || fail "the uninstaller left its uninstall entry"
! has_key 'HKLM\Software\Velquist' || fail "the uninstaller left HKLM\\Software\\Velquist"
for root in HKLM HKCU; do
    ! has_value "$root\\$run" kestrava.exe || fail "the uninstaller left $root's Run value"
    has_value "$root\\$run" other.exe 'C:\other.exe' ||
        fail "the uninstaller took another program's Run value from $root"
done
has_value "$settings" Text1 "$program_folder\\" && has_value "$settings" "Windows Startup" On ||
    fail "the uninstaller took the user's settings"
[ -f "$history" ] || fail "the uninstaller took the history log"

size=$(stat -c %s "$installer")
echo "installer: $(basename "$installer") ($size bytes) installed, ran and went without a trace" \
    "in $((SECONDS - started)) s"
