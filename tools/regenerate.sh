#!/usr/bin/env bash
# Regenerates every picture and sound under assets/ from the text sources in tools/, byte for
# byte. Needs only what scripts/install_art_tools.sh installs; the game never needs these tools.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/characters/build.sh
bash tools/scenery/build.sh
bash tools/sound/build.sh
/usr/bin/python3 tools/contact_sheet.py tools/out/contact_sheet.png
echo "Assets regenerated; contact sheet in tools/out/contact_sheet.png"
