#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test: once in an optimised
# build, whose benchmarks are built too, and once under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the fuzz targets for a short while. Unit tests run headless;
# end-to-end tests start their own virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh
jobs="$(nproc)"

run_suite() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

run_suite build/test -DCMAKE_BUILD_TYPE=Release
# Leaks are counted by default; the game binary alone opts out (the window system's libraries
# leave allocations behind at exit), so ASAN_OPTIONS is left to it.
UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=OFF
# Half a minute for each fuzz target, built with clang.
bash scripts/fuzz.sh 30
