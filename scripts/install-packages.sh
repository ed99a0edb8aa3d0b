#!/bin/bash
# Installs the Debian packages that building, running or testing Kestrava needs,
# asking apt only for those that are missing.
# usage: install-packages.sh run|package|windows-package|test|fuzz
set -euo pipefail

# xdg-utils: "View History Log" hands the log to the desktop's viewer through xdg-open.
# zlib1g-dev: the history store is deflated with zlib; libdeflate-dev: and inflated with
# libdeflate, two to three times as fast.
run_packages=(cmake ninja-build g++ qt6-base-dev fonts-liberation xdg-utils zlib1g-dev
              libdeflate-dev)
# dpkg-dev: dpkg-shlibdeps and dpkg-buildflags; file: CPack finds the programs with it.
package_packages=(dpkg-dev file)
# The Windows program is cross-built with mingw-w64's -posix compilers (std::thread),
# and its installer made with NSIS.
# libz-mingw-w64-dev: zlib for the Windows build's history store.
windows_package_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix nsis libz-mingw-w64-dev)
# clang-14 and libclang-rt-14-dev: scripts/fuzz.sh builds the fuzz targets with clang's
# libFuzzer and its sanitizers' runtimes.
fuzz_packages=(clang-14 libclang-rt-14-dev)
# desktop-file-utils and appstream validate the menu entry and the metadata, lintian
# the package; strace sees which files the installed program opens, and gdb what a
# program that failed to end was doing. The Windows build is tested against
# GoogleTest's sources, and its tests and its installer run under wine (64-bit only).
# ccache: a second run of the tests compiles only what changed, in every tree.
# chromium, nodejs and npm: kestrava-log's report is tested in a real browser, driven by
# puppeteer-core (npm ci from tests/browser's lock file; no browser is downloaded).
test_packages=(ccache libgtest-dev libgmock-dev xvfb xauth dbus-daemon openbox trayer xdotool
               x11-utils xclip imagemagick libxfixes-dev desktop-file-utils appstream lintian
               strace gdb googletest wine wine64 chromium nodejs npm)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
    windows-package) wanted=("${windows_package_packages[@]}") ;;
    fuzz) wanted=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${package_packages[@]}" "${windows_package_packages[@]}"
                  "${test_packages[@]}") ;;
    *) echo "usage: $0 run|package|windows-package|test|fuzz" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    # NodeSource's nodejs brings npm itself, and refuses Debian's npm beside it.
    [ "$package" = npm ] && command -v npm >/dev/null && continue
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
log=$(mktemp)
if ! { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
        -o Dpkg::Use-Pty=0 --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
rm -f "$log"
