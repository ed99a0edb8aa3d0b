# Shared steps of the scenarios of kestrava.exe under wine; sourced, not run. The
# Linux scenarios' steps (lib.sh) hold for the window, the window manager and the tray
# host; what differs is how the program starts, where it keeps its settings and its
# log, and how wine shows its tray icon.
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"

C_DRIVE="$WINEPREFIX/drive_c"
SETTINGS_KEY='HKCU\Software\Velquist\Kestrava'
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
USER_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# Runs a Windows program of the prefix and prints what it wrote, with Unix line ends.
windows() {
    wine "$@" </dev/null 2>/dev/null | tr -d '\r'
}

# The value of a Windows environment variable, as the program sees it.
windows_variable() {
    windows cmd /c echo "%$1%"
}

# The Unix path of a Windows path.
unix_path() {
    winepath -u "$1" 2>/dev/null
}

# Copies the program and its hand cursor into C:\Program Files\Kestrava, where a user
# would have it; exports its Windows path as KESTRAVA.
install_kestrava() {
    local folder="$C_DRIVE/Program Files/Kestrava"
    mkdir -p "$folder"
    cp "$1" "$folder/kestrava.exe"
    cp "$(dirname "$1")/HAND-M.CUR" "$folder/"
    export KESTRAVA='C:\Program Files\Kestrava\kestrava.exe'
}

# Leaves nothing of an earlier scenario in the shared prefix: the settings, both
# start-at-logon values, the history log, its store and what a rewrite of them leaves
# beside them, and the scenario's folders under C:\e2e.
# Exports TEMP_FOLDER (the Unix path of the program's %TEMP%) and LOG.
forget_kestrava() {
    wine reg delete 'HKCU\Software\Velquist' /f </dev/null >/dev/null 2>&1 || true
    wine reg delete "$RUN_KEY" /v kestrava.exe /f </dev/null >/dev/null 2>&1 || true
    wine reg delete "$USER_RUN_KEY" /v kestrava.exe /f </dev/null >/dev/null 2>&1 || true
    TEMP_FOLDER=$(unix_path "$(windows_variable TEMP)")
    [ -d "$TEMP_FOLDER" ] || fail "no %TEMP% folder: '$TEMP_FOLDER'"
    export TEMP_FOLDER LOG="$TEMP_FOLDER/Kestrava.txt"
    rm -f "$LOG" "$LOG".*
    rm -rf "$C_DRIVE/e2e"
    mkdir -p "$C_DRIVE/e2e"
}

start_kestrava() {
    wine "$KESTRAVA" </dev/null >"$OUTPUT/kestrava.log" 2>&1 &
    KESTRAVA_PID=$!
}

# Writes the settings the program starts with, one NAME=VALUE per argument, as the
# program's own strings in the registry.
store_settings() {
    local setting
    for setting in "$@"; do
        wine reg add "$SETTINGS_KEY" /v "${setting%%=*}" /t REG_SZ /d "${setting#*=}" /f \
            </dev/null >/dev/null 2>&1 || fail "could not store $setting"
    done
}

# Prints the string value NAME of a registry KEY; fails when there is none.
registry_value() {
    local key=$1 name=$2 line
    line=$(windows reg query "$key" /v "$name" | grep -F "    $name    REG_SZ    ") || return 1
    printf '%s\n' "${line#*    REG_SZ    }"
}

# Prints one of the program's settings; fails when it was never stored.
setting() {
    registry_value "$SETTINGS_KEY" "$1"
}

# Sets DOS attributes (h, s, r) of a Windows path, one at a time: wine's attrib takes
# only the last of several in one call.
set_attributes() {
    local path=$1 flag
    shift
    for flag in "$@"; do
        wine attrib "+$flag" "$path" </dev/null >/dev/null 2>&1 || fail "attrib +$flag $path"
    done
}

# Wine's desktop docks each tray icon as a window of its own, and shows the balloon as
# one of its top-level windows: both are explorer.exe's.
ICON_WINDOWS='\("explorer.exe" "explorer.exe"\)'
