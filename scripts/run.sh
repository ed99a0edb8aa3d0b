#!/bin/bash
# Installs what running needs, builds Kestrava alone (without its tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh run
cmake --preset program >/dev/null
cmake --build --preset program --target kestrava
exec build/program/src/kestrava
