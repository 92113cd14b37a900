#!/usr/bin/env bash
# Benchmarks of the browser build:
#   - the wasm's cost of a frame, and of its world step, against the native build's, on the
#     frame benchmarks' scenes (bench/frame_bench.cpp) run under node;
#   - in headless Chromium, at normal speed and with the page's CPU slowed four times (about a
#     mid-range phone): the time from opening the page to its title, then the frames drawn a
#     second and the page's main thread busy per frame on the title and in stage 1
#     (bench/web_frames.mjs), beside the same for the least a frame can cost (bench/web_floor.cpp:
#     one picture a frame through the same renderer) and for the boss fight (bench/web_stage.cpp:
#     stage 4 as the map screen plays it, without the stages before it); composited in software,
#     as a machine without a GPU does, and by the GPU as a phone's is (SwiftShader standing in).
#   bash scripts/bench_web.sh [NATIVE_BENCH]     (default build/test/tarnwick_bench)
# Run scripts/test_web.sh once first: it installs the browser tests' npm packages.
set -euo pipefail
cd "$(dirname "$0")/.."
native="${1:-build/test/tarnwick_bench}"
bash scripts/build_web.sh >/dev/null

source scripts/web_tree.sh
WEB_EXTRA_PREFIXES="$(bash scripts/deps/web_benchmark.sh)"
export WEB_EXTRA_PREFIXES
tree=build/web-bench
configure_web_tree "$tree" -DTARNWICK_BENCH=ON
cmake --build "$tree" -j"$BUILD_JOBS" --target tarnwick_bench tarnwick_web_floor \
  tarnwick_web_stage >/dev/null

# The page NAME.html of the program tarnwick_NAME, served beside the game's.
serve_beside_the_game() {
  cp "$tree/tarnwick_$1".* build/web/
  printf '%s\n' '<!doctype html><html><body style="margin:0;background:#000">' \
    '<canvas id="canvas" width="800" height="600"></canvas>' \
    '<script>var Module = { canvas: document.getElementById("canvas") };</script>' \
    "<script src=\"tarnwick_$1.js\"></script></body></html>" >"build/web/$1.html"
}
serve_beside_the_game web_floor
serve_beside_the_game web_stage

serve_web_build
work="$web_work"
echo "The page in headless Chromium:"
node bench/web_frames.mjs "$web_url" "${web_url%index.html}web_floor.html" \
  "${web_url%index.html}web_stage.html?4"

filter='BM_Frame'
"$native" --benchmark_filter="$filter" --benchmark_format=json >"$work/native.json"
node --no-experimental-fetch "$tree/tarnwick_bench.js" --benchmark_filter="$filter" \
  --benchmark_out="$work/wasm.json" --benchmark_out_format=json >/dev/null
python3 - "$work" <<'PY'
import json, os, sys
work = sys.argv[1]
def medians(name):
    with open(os.path.join(work, name)) as f:
        return {b["name"].split("/")[0]: b for b in json.load(f)["benchmarks"]}
native, wasm = medians("native.json"), medians("wasm.json")
# The world step apart: in the page the GPU draws, so the step is the wasm's own share of a frame.
print("Median cost, ms:           frame: native   wasm (ratio)   world step: native   wasm (ratio)")
for name in native:
    row = f"  {name:24s}"
    for counter in ("frame_ms", "step_ms"):
        n, w = native[name][counter], wasm[name][counter]
        row += f"       {n:7.3f} {w:7.3f} ({w / n:4.2f})"
    print(row)
PY
