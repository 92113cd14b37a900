#!/bin/sh
# Adds Tarnwick to this user's desktop menu, started from this folder wherever it is; run it
# again after moving the folder. With --remove, takes the game out of the menu again.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
data="${XDG_DATA_HOME:-$HOME/.local/share}"
entry="$data/applications/tarnwick.desktop"
icon="$data/icons/hicolor/256x256/apps/tarnwick.png"
if [ "${1:-}" = --remove ]; then
  rm -f "$entry" "$icon"
  exit 0
fi
mkdir -p "$(dirname "$entry")" "$(dirname "$icon")"
cp "$here/tarnwick.png" "$icon"
# The program's path, quoted as desktop entries quote: \ " ` $ escaped twice, % doubled.
program="$(printf '%s' "$here/tarnwick" | sed -e 's/[\\"`$]/\\\\&/g' -e 's/%/%%/g')"
while IFS= read -r line; do
  case "$line" in
  Exec=*) printf 'Exec="%s"\n' "$program" ;;
  *) printf '%s\n' "$line" ;;
  esac
done <"$here/tarnwick.desktop" >"$entry"
echo "Tarnwick is in the menu; to take it out: $0 --remove"
