#!/usr/bin/env bash
# Draws the hero's animation frames, the foes and the liquid drop into assets/images/.
# Same sources, same bytes: nothing here is random or time-stamped.
set -euo pipefail
cd "$(dirname "$0")/../.."
/usr/bin/python3 tools/characters/make_characters.py assets/images
