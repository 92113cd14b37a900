#!/usr/bin/env bash
# Runs what works on several threads under ThreadSanitizer: the loading threads, the sound's mixing
# thread and the liquid's worker, through their tests alone (tarnwick_thread_tests and the
# liquid's determinism test). Built with clang, warnings as errors, so that this build is also the
# check that clang builds the game; and with the PNG decoder's plain row filters instead of its
# SSE2 lanes, which the same tests compare with SDL_image on every shipped picture.
#   scripts/thread_sanitize.sh          TSAN_BUILD_DIR=... picks another build directory
set -euo pipefail
cd "$(dirname "$0")/.."
build="${TSAN_BUILD_DIR:-build/tsan}"
bash scripts/install_deps.sh

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DTARNWICK_WERROR=ON -DTARNWICK_PNG_SSE2=OFF -DTARNWICK_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target tarnwick tarnwick_physics_tests tarnwick_thread_tests

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
"$build/tarnwick_physics_tests" --gtest_filter='LiquidDeterminism.*'
"$build/tarnwick_thread_tests"
