#!/bin/bash
# Builds the Debian package, checks it with lintian, installs it as a user would,
# runs the installed program on a virtual screen, and removes the package again:
# nothing of it may stay, and the all-users autostart entries go with it, while a
# user's own entry stays. It installs a system package, so it runs as root or
# through sudo, on a machine where Kestrava isn't installed yet. Given a tree built
# with the package's flags (scripts/test.sh's release tree), it packs that one.
# usage: test-package.sh [TREE]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh test
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The entries that the program writes for all users: in /etc/xdg, or in a session's
# own folder below it when XDG_CONFIG_DIRS names one first.
system_entry=/etc/xdg/autostart/kestrava.desktop
session_folder=/etc/xdg/xdg-kestrava-test
session_entry=$session_folder/autostart/kestrava.desktop

installed() { dpkg-query -W -f='${Status}' kestrava 2>/dev/null | grep -q ' installed$'; }
installed && fail "Kestrava is installed on this machine; the test would remove it"
for entry in "$system_entry" "$session_entry"; do
    [ ! -e "$entry" ] || fail "$entry is there already; the test plants its own"
done

echo "== package =="
scripts/package.sh ${1:+--from "$1"}
deb=$(ls dist/kestrava_*.deb)
output=$PWD/build/package/test
rm -rf "$output"
mkdir -p "$output"

echo "== lintian =="
# Its warnings are shown; an error fails. (Run as root, it also says that it would
# rather not be.)
report=$(lintian --fail-on error "$deb" 2>&1) || { echo "$report"; fail "lintian found errors"; }
grep -v '^running with root privileges' <<<"$report" || echo "lintian: no errors, no warnings"

# dpkg knows the package until it is purged, also once it is removed.
known() { dpkg-query -W kestrava >/dev/null 2>&1; }
cleanup() {
    if known; then
        $sudo dpkg --purge kestrava >/dev/null || true
    fi
    $sudo rm -rf "$session_folder"
    $sudo rm -f "$system_entry"
}
trap cleanup EXIT

echo "== install =="
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0 "./$deb" \
    >"$output/install.log" 2>&1 || { cat "$output/install.log"; fail "the package didn't install"; }
dpkg -L kestrava | grep -vx '/\.' >"$output/files.txt"
dpkg-query -W -f='${Installed-Size} KiB installed; Depends: ${Depends}\n' kestrava

echo "== the installed kestrava-log =="
[ -f /usr/share/man/man1/kestrava-log.1.gz ] || fail "no manual page for kestrava-log"
cli_log=$output/cli-history.txt
/usr/bin/kestrava-log --log "$cli_log" snapshot /usr/share/kestrava ||
    fail "kestrava-log took no snapshot"
/usr/bin/kestrava-log --log "$cli_log" show | grep -q '^/usr/share/kestrava/HAND-M.CUR|' ||
    fail "kestrava-log's snapshot lacks the hand cursor: $(cat "$cli_log")"

echo "== the installed program =="
tests/e2e/run-in-desktop.sh "$PWD/tests/package/installed-program.sh" /usr/bin/kestrava \
    "$output/session"
# The entries for all users, as the program wrote its own, and one for a user alone.
written_entry=$output/session/xdg/autostart/kestrava.desktop
home=$output/home
mkdir -p "$home/.config/autostart"
cp "$written_entry" "$home/.config/autostart/"
$sudo install -D -m 644 "$written_entry" "$system_entry"
$sudo install -D -m 644 "$written_entry" "$session_entry"

echo "== remove =="
$sudo env HOME="$home" XDG_CONFIG_HOME="$home/.config" DEBIAN_FRONTEND=noninteractive \
    apt-get remove -y -qq -o Dpkg::Use-Pty=0 kestrava >"$output/remove.log" 2>&1 ||
    { cat "$output/remove.log"; fail "the package didn't go"; }
installed && fail "the package is still installed"
for entry in "$system_entry" "$session_entry"; do
    [ ! -e "$entry" ] || fail "removing the package left $entry"
done
[ -f "$home/.config/autostart/kestrava.desktop" ] || fail "removing the package took a user's entry"

# A folder may stay only while something else has files in it or another package owns it.
left=0
while read -r path; do
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        if [ -z "$(ls -A "$path")" ] && ! dpkg-query -S "$path" >/dev/null 2>&1; then
            echo "left empty: $path" >&2
            left=1
        fi
    elif [ -e "$path" ] || [ -L "$path" ]; then
        echo "left: $path" >&2
        left=1
    fi
done <"$output/files.txt"
[ "$left" -eq 0 ] || fail "removing the package left some of its $(wc -l <"$output/files.txt") paths"
$sudo dpkg --purge kestrava >/dev/null
! known || fail "dpkg still knows the package after its purge"
echo "package: $deb ($(stat -c %s "$deb") bytes) installed, ran and went without a trace"
