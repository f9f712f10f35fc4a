#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it; arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINEGATE_TESTS=OFF
cmake --build build -j"$(nproc)"
exec ./build/brinegate "$@"
