#!/bin/bash
# The developer's quick loop: builds the release tree's unit and widget tests
# incrementally and runs them, on both cores. It checks far less than scripts/test.sh
# (no end-to-end tests, no sanitizers, no Windows build, no packages), which stays the
# full check that CI runs; it assumes the packages scripts/test.sh installs.
# usage: quick.sh [CTEST-ARGUMENTS...]   (for example -R Compare, to run fewer)
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache: paths below the project are hashed relative to it, and its
# folder's name is left out of the hash, so a clone elsewhere reuses it as well.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
source scripts/debian-build-flags.sh
[ -f build/release/build.ninja ] || cmake --preset release "${debian_build_flags[@]}" >/dev/null
cmake --build --preset release --target kestrava_unit_tests kestrava_widget_tests
ctest --preset release -j2 -R '^(unit|widget)\.' "$@"
