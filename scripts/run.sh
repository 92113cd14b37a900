#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it from the repository root, where it
# finds assets/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target tarnwick
exec build/release/tarnwick "$@"
