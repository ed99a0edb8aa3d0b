#!/bin/bash
# Checks the README's two commands as a newcomer meets them: on a brand-new Debian 12
# (a minimal debootstrap chroot with only git and ca-certificates), as root, with no
# LANG and no display. It clones the committed project into the chroot, runs
# scripts/run.sh (which must build the program and then say how to start it without a
# screen) and scripts/test.sh (which must pass), and prints the wall time of each.
#
# Run by hand, as root, with Debian's mirror reachable; it takes the better part of an
# hour and leaves the chroot in WORK for a look afterwards (remove it with rm -rf once
# nothing is mounted there any more).
# usage: scripts/test-fresh-machine.sh [WORK]   (WORK: /var/tmp/kestrava-fresh-machine)
set -euo pipefail
project=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/kestrava-fresh-machine}
root=$work/root
mirror=http://deb.debian.org/debian

[ "$(id -u)" -eq 0 ] || { echo "run it as root: debootstrap and chroot need it" >&2; exit 2; }
command -v debootstrap >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null

mounted=()
unmount_all() {
    local index
    for ((index = ${#mounted[@]} - 1; index >= 0; index--)); do
        umount -l "${mounted[index]}" 2>/dev/null || true
    done
}
trap unmount_all EXIT
mount_into() {  # mount_into WHAT WHERE [OPTIONS...]
    mkdir -p "$root$2"
    mount "${@:3}" "$1" "$root$2"
    mounted+=("$root$2")
}

if [ ! -x "$root/usr/bin/git" ]; then
    rm -rf "$root"
    mkdir -p "$root"
    echo "== debootstrap: a minimal Debian 12 with git and ca-certificates =="
    debootstrap --variant=minbase --include=git,ca-certificates bookworm "$root" "$mirror" \
        >"$work/debootstrap.log" 2>&1 || { tail -n 20 "$work/debootstrap.log" >&2; exit 1; }
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount_into proc /proc -t proc
mount_into sysfs /sys -t sysfs
mount_into /dev /dev --bind
mount_into /dev/pts /dev/pts --bind
mount_into tmpfs /dev/shm -t tmpfs
mount_into tmpfs /tmp -t tmpfs

# The network this machine reaches the package registries through may answer TLS with
# an authority of its own: the chroot trusts what the machine was given to trust.
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
    chroot "$root" update-ca-certificates >/dev/null 2>&1
fi

rm -rf "$root/root/kestrava"
git clone -q --no-local "$project" "$root/root/kestrava"

# What a root shell on a fresh server has: no LANG, no LC_*, no DISPLAY.
in_chroot() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd /root/kestrava && $1"
}
status=0
timed() {  # timed NAME COMMAND: runs it in the chroot; prints (and sets) its status and time
    local start
    start=$(date +%s)
    status=0
    in_chroot "$2" >"$work/$1.log" 2>&1 || status=$?
    echo "$1: exit status $status after $(($(date +%s) - start)) s (log: $work/$1.log)"
}

echo "== scripts/run.sh =="
timed run scripts/run.sh  # without a display it ends with status 1 once it has said how
tail -n 3 "$work/run.log"
grep -q "needs a graphical display" "$work/run.log" && [ -x "$root/root/kestrava/build/program/src/kestrava" ] ||
    { echo "scripts/run.sh did not build the program and say how to start it" >&2; exit 1; }

echo "== scripts/test.sh =="
timed test scripts/test.sh
tail -n 5 "$work/test.log"
[ "$status" -eq 0 ] || { echo "scripts/test.sh failed: see $work/test.log" >&2; exit 1; }
