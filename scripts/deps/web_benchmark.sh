#!/usr/bin/env bash
# Builds Google Benchmark with Debian's emscripten, from Debian 12's source (the version the
# Linux build links), for the browser build's frame benchmarks (scripts/bench_web.sh); prints
# its prefix. Kept apart from the game's libraries, which the page alone needs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/debian_sources.sh"
source "$here/build_library.sh"
source "$here/emscripten.sh"
prefix="$(dependency_prefix web-benchmark \
  "emcc $(emcc -dumpversion) $(cat "$here/web_benchmark.sh" "$here/build_library.sh" "$here/emscripten.sh" | sha256sum)" \
  benchmarks)"
# Its version comes from git, which a source package lacks; Debian passes it too.
build_cmake_library benchmark "$prefix" -DBENCHMARK_ENABLE_TESTING=OFF \
  -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_LTO=OFF \
  -DBENCHMARK_INSTALL_DOCS=OFF -DGIT_VERSION=1.7.1
echo "$prefix"
