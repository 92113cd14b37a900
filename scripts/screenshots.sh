#!/usr/bin/env bash
# Remakes the README's screenshots in docs/ by playing the real game on a virtual display: the
# title, stage 3's crowd of foes, the boss fight and the game-over screen, then the title in a
# 1200 × 900 window and in full screen on a 1920 × 1080 display. Builds the game first; the play
# takes a few minutes. The pictures are stored with 256 dithered colours, which keeps them small.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh
bash scripts/install_deps.sh python3
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target tarnwick

shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
python3 scripts/screenshots.py build/release/tarnwick "$shots"
mkdir -p docs
for name in title stage3 boss gameover window fullscreen; do
  convert "$shots/$name.png" -strip -dither FloydSteinberg -colors 256 "PNG8:docs/$name.png"
done
echo "Screenshots written to docs/"
