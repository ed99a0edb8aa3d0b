#!/bin/bash
# Installs what is missing, builds the release of Kestrava and writes its Debian
# package to dist/; `package.sh windows` cross-builds the Windows program instead and
# writes its installer there. Further arguments are handed to CMake's configure step,
# for example --compile-no-warning-as-error on a compiler that warns where ours
# doesn't.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = windows ]; then
    shift
    scripts/install-packages.sh windows-package
    cmake --preset windows-package "$@" >/dev/null
    cmake --build --preset windows-package
    rm -rf build/windows-package/cpack
    cpack --preset windows-package >/dev/null
    mkdir -p dist
    rm -f dist/Kestrava-*-win64.exe
    cp build/windows-package/cpack/Kestrava-*-win64.exe dist/
    ls dist/Kestrava-*-win64.exe
    exit 0
fi

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
