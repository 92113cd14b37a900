#!/usr/bin/env bash
# Benchmarks of the browser build:
#   - the time from opening the page to the title in headless Chromium (bench/web_load.mjs);
#   - the wasm's cost of a frame against the native build's, on the frame benchmarks' scenes
#     (bench/frame_bench.cpp) run under node, with ASYNCIFY as the game ships and without it.
#   bash scripts/bench_web.sh [NATIVE_BENCH]     (default build/test/tarnwick_bench)
# Run scripts/test_web.sh once first: it installs the browser tests' npm packages.
set -euo pipefail
cd "$(dirname "$0")/.."
native="${1:-build/test/tarnwick_bench}"
bash scripts/build_web.sh >/dev/null

source scripts/web_tree.sh
serve_web_build
work="$web_work"
echo "Page load to title, headless Chromium:"
node bench/web_load.mjs "$web_url" 3

WEB_EXTRA_PREFIXES="$(bash scripts/deps/web_benchmark.sh)"
export WEB_EXTRA_PREFIXES
filter='BM_Frame'
"$native" --benchmark_filter="$filter" --benchmark_format=json >"$work/native.json"
for asyncify in ON OFF; do
  tree="build/web-bench-asyncify-$asyncify"
  configure_web_tree "$tree" -DTARNWICK_BENCH=ON -DTARNWICK_BENCH_ASYNCIFY="$asyncify"
  cmake --build "$tree" -j"$BUILD_JOBS" --target tarnwick_bench >/dev/null
  node --no-experimental-fetch "$tree/tarnwick_bench.js" --benchmark_filter="$filter" \
    --benchmark_out="$work/wasm-$asyncify.json" --benchmark_out_format=json >/dev/null
done
python3 - "$work" <<'PY'
import json, os, sys
work = sys.argv[1]
def frame_ms(name):
    with open(os.path.join(work, name)) as f:
        return {b["name"].split("/")[0]: b["frame_ms"] for b in json.load(f)["benchmarks"]}
native, shipped, plain = frame_ms("native.json"), frame_ms("wasm-ON.json"), frame_ms("wasm-OFF.json")
print("Median frame cost, ms:   native   wasm (ratio)   wasm without ASYNCIFY (ratio)")
for name in native:
    print(f"  {name:24s} {native[name]:7.2f}  {shipped[name]:7.2f} ({shipped[name] / native[name]:4.2f})"
          f"  {plain[name]:7.2f} ({plain[name] / native[name]:4.2f})")
PY
