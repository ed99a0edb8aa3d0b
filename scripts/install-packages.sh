#!/bin/bash
# Installs the Debian packages that building, running or testing Kestrava needs,
# asking apt only for those that are missing.
# usage: install-packages.sh build|test
set -euo pipefail

build_packages=(cmake ninja-build g++ qt6-base-dev fonts-liberation)
test_packages=(libgtest-dev libgmock-dev xvfb xauth dbus-daemon openbox trayer xdotool
               x11-utils xclip imagemagick)

case "${1:-build}" in
    build) wanted=("${build_packages[@]}") ;;
    test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
