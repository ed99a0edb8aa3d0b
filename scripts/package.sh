#!/bin/bash
# Installs what is missing, builds the release of Kestrava and writes its Debian
# package to dist/. Arguments are handed to CMake's configure step, for example
# --compile-no-warning-as-error on a compiler that warns where ours doesn't.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh package

# Debian's own compiler and linker flags, with every hardening option.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxx_flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
linker_flags=$(dpkg-buildflags --get LDFLAGS)

cmake --preset package -DCMAKE_CXX_FLAGS="$cxx_flags" -DCMAKE_EXE_LINKER_FLAGS="$linker_flags" \
    "$@" >/dev/null
cmake --build --preset package
rm -rf build/package/cpack
cpack --preset package >/dev/null
mkdir -p dist
rm -f dist/kestrava_*.deb
cp build/package/cpack/kestrava_*.deb dist/
ls dist/kestrava_*.deb
