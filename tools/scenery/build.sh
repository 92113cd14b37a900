#!/usr/bin/env bash
# Regenerates the scenery pictures (title, game over, backdrops, terrain, overlay) into
# assets/images, byte for byte: every drawing is seeded and cairo writes no timestamps.
# Afterwards check_screens.py fails the build if the title's control legend covers the logo or
# the hero, or letters anything too small for the half-size window.
set -euo pipefail
cd "$(dirname "$0")"
export PYTHONDONTWRITEBYTECODE=1  # leave no bytecode beside the sources
out=../../assets/images
mkdir -p "$out"
for script in draw_screens draw_backdrops draw_stages draw_overlay; do
  /usr/bin/python3 "$script.py" "$out"
done
/usr/bin/python3 check_screens.py
