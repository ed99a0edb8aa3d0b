#!/bin/bash
# Installs what is missing, builds Kestrava twice (optimised, and with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test in both:
# unit, widget (offscreen), end-to-end (under Xvfb) and the installed tree. Then
# builds the Debian package and installs, runs and removes it (scripts/test-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh test
for preset in release asan; do
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j2
done
echo "== Debian package =="
scripts/test-package.sh
