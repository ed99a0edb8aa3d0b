#!/bin/bash
# Installs what is missing, builds Kestrava and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh run
cmake --preset release >/dev/null
cmake --build --preset release --target kestrava
exec build/release/src/kestrava
