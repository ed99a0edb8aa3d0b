#!/bin/bash
# Installs what is missing, builds the release of Kestrava and writes its Debian
# package to dist/; `package.sh windows` cross-builds the Windows program instead and
# writes its installer there. `--from TREE` packs a tree already built with the same
# flags (the tests' release or windows tree) rather than building one. Further
# arguments are handed to CMake's configure step, for example
# --compile-no-warning-as-error on a compiler that warns where ours doesn't.
# usage: package.sh [windows] [--from TREE] [CMAKE-ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."

kind=debian
if [ "${1:-}" = windows ]; then
    kind=windows
    shift
fi
tree=""
if [ "${1:-}" = --from ]; then
    tree=$2
    shift 2
fi

# pack TREE PATTERN: CPack's package of a built tree, copied into dist/.
pack() {
    rm -rf "$1/cpack"
    cpack --config "$1/CPackConfig.cmake" -B "$1/cpack" >/dev/null
    mkdir -p dist
    rm -f dist/$2
    cp "$1"/cpack/$2 dist/
    ls dist/$2
}

if [ "$kind" = windows ]; then
    if [ -z "$tree" ]; then
        scripts/install-packages.sh windows-package
        cmake --preset windows-package "$@" >/dev/null
        cmake --build --preset windows-package
        tree=build/windows-package
    fi
    pack "$tree" 'Kestrava-*-win64.exe'
    exit 0
fi

if [ -z "$tree" ]; then
    scripts/install-packages.sh package
    source scripts/debian-build-flags.sh
    cmake --preset package "${debian_build_flags[@]}" "$@" >/dev/null
    cmake --build --preset package
    tree=build/package
fi
pack "$tree" 'kestrava_*.deb'
