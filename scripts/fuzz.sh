#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for the given number of seconds (default 30), starting from the seed corpus in
# fuzz/corpus/. New inputs the fuzzer finds go to a scratch copy, so the repository's corpus
# stays small; a crash, leak or sanitizer report stops the script with the reproducer saved in
# the build directory.
#   scripts/fuzz.sh [seconds]          FUZZ_BUILD_DIR=... picks another build directory
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
seconds="${1:-30}"
build="$(realpath -m "${FUZZ_BUILD_DIR:-build/fuzz}")"
bash scripts/install_deps.sh

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTARNWICK_FUZZ=ON -DTARNWICK_SANITIZE=ON -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF \
  -DTARNWICK_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target asset_list_fuzzer asset_registry_fuzzer \
  png_decoder_fuzzer

for target in asset_list asset_registry png_decoder; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/crashes"
  cp -n "$root/fuzz/corpus/$target"/* "$corpus"/
  # Absolute paths: the registry fuzzer works in a scratch directory of its own.
  dictionary="$root/fuzz/asset_list.dict"
  [ "$target" = png_decoder ] && dictionary="$root/fuzz/png_decoder.dict"
  echo "Fuzzing $target for ${seconds}s"
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 "$build/fuzz/${target}_fuzzer" \
    -dict="$dictionary" -max_total_time="$seconds" -close_fd_mask=3 \
    -print_final_stats=1 -artifact_prefix="$build/crashes/${target}-" "$corpus"
done
