#!/bin/bash
# Installs what is missing, builds Kestrava twice (optimised, and with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test in both:
# unit, widget (offscreen), end-to-end (under Xvfb) and the installed tree; runs the
# unit and widget tests once more in a build with ThreadSanitizer. Then
# cross-builds it for Windows and runs that build's tests under wine, builds the Windows
# installer and installs, runs and uninstalls it under wine (scripts/test-installer.sh),
# and last builds the Debian package and installs, runs and removes it
# (scripts/test-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh test
for preset in release asan; do
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j2
done
echo "== tsan =="
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan -j2
echo "== windows =="
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
echo "== Windows installer =="
scripts/test-installer.sh
echo "== Debian package =="
scripts/test-package.sh
