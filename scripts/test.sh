#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test: once in an optimised
# build, whose benchmarks and Debian package are built too, then the Windows build under wine and
# the browser build in headless Chromium, then once under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the tests of what runs on several threads under
# ThreadSanitizer (built with clang), then the fuzz targets for a short while. Before building it
# checks the sources' layout; every build treats warnings as errors. Unit tests run headless;
# end-to-end tests start their own virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh
jobs="$(nproc)"
# The sources' layout, before anything is built.
bash scripts/check_format.sh

build_suite() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" -DTARNWICK_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

test_suite() {
  (cd "$1" && ctest --output-on-failure -j"$jobs")
}

build_suite build/test -DCMAKE_BUILD_TYPE=Release
# The Debian package of the optimised build, checked by lintian and the desktop's validators;
# its end-to-end test installs it with apt, plays it and removes it again.
bash scripts/package.sh build/test
test_suite build/test
# The Windows release, cross-built and tested under wine against the optimised Linux build.
bash scripts/test_windows.sh build/test
# The browser build, played in headless Chromium against the optimised build's title and log.
bash scripts/test_web.sh build/test/tarnwick
# The Linux archive for any distribution, built in Debian 11 and played in fresh Debian 11 and 13
# systems against the optimised build.
bash scripts/test_linux.sh build/test
build_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=OFF
# Leaks are counted by default; the game binary alone opts out (the window system's libraries
# leave allocations behind at exit), so ASAN_OPTIONS is left to it.
UBSAN_OPTIONS=print_stacktrace=1 test_suite build/sanitize
# What runs on several threads, under ThreadSanitizer: a clang build of its own.
bash scripts/thread_sanitize.sh
# Half a minute for each fuzz target, built with clang.
bash scripts/fuzz.sh 30
