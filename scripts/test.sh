#!/bin/bash
# Installs what is missing, builds Kestrava twice (optimised, and with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test in both:
# unit, widget (offscreen), end-to-end (under Xvfb) and the installed tree; runs the
# unit and widget tests once more in a build with ThreadSanitizer. Then
# cross-builds it for Windows and runs that build's tests under wine, makes the Windows
# installer from that build and installs, runs and uninstalls it under wine
# (scripts/test-installer.sh), and last makes the Debian package from the optimised
# build and installs, runs and removes it (scripts/test-package.sh). Each tree is
# built once; a compiler cache makes a second run compile only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh test
# The compiler cache: paths below the project are hashed relative to it, and its
# folder's name is left out of the hash, so a clone elsewhere reuses it as well.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
# The package is made from the release tree, so that tree is built as Debian builds it.
source scripts/debian-build-flags.sh

step_started=$SECONDS
step() {
    [ -z "${step_name:-}" ] || echo "-- $step_name: $((SECONDS - step_started)) s"
    step_name=$1
    step_started=$SECONDS
    echo "== $1 =="
}

step release
cmake --preset release "${debian_build_flags[@]}" >/dev/null
cmake --build --preset release
ctest --preset release -j2
for preset in asan tsan; do
    step "$preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j2
done
step windows
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
step "Windows installer"
scripts/test-installer.sh build/windows
step "Debian package"
scripts/test-package.sh build/release
step done
