#!/usr/bin/env bash
# The browser build played in Debian's headless Chromium by keyboard (tests/web/play_test.mjs),
# against the Linux build's own title picture and log, which it takes from LINUX_BINARY (default
# build/test/tarnwick, built by scripts/test.sh) on a virtual display; and by touch, as on a
# phone or tablet (tests/web/touch_test.mjs). Makes the browser build first, and installs the
# tests' npm packages (puppeteer-core, without a browser of its own).
#   bash scripts/test_web.sh [LINUX_BINARY]
set -euo pipefail
cd "$(dirname "$0")/.."

# The Linux title, once faded in, and the log up to it (with sound, which the browser has too,
# though the virtual display has no sound card); ESC then ends the game.
linux_title() {
  local linux_binary="$1" work="$2"
  SDL_AUDIODRIVER=dummy "$linux_binary" >"$work/linux.log" 2>"$work/linux-errors.log" &
  local game=$! window="" waited=0
  until grep -q "^Sprite created!$" "$work/linux.log"; do
    sleep 0.2
    waited=$((waited + 1))
    [ $waited -lt 300 ] || { echo "The Linux build showed no title" >&2; return 1; }
  done
  sleep 2
  window="$(xdotool search --name '^Game$' | head -1)"
  xwd -id "$window" -silent | convert xwd:- "$work/linux-title.png"
  xdotool keydown Escape && sleep 0.2 && xdotool keyup Escape
  wait "$game"
}
# On the virtual display that the rest starts.
if [ "${1:-}" = --linux-title ]; then
  linux_title "$2" "$3"
  exit
fi

linux_binary="${1:-build/test/tarnwick}"
bash scripts/build_web.sh

# ca-certificates: npm reaches its registry over TLS.
packages=(chromium python3 imagemagick xvfb xauth xdotool x11-apps ca-certificates)
# npm comes with NodeSource's nodejs, and separately with Debian's.
command -v npm >/dev/null || packages+=(npm)
bash scripts/install_deps.sh "${packages[@]}"
# Installed again only when the lock file has changed since.
if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.installed-lock.json; then
  (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error &&
    cp package-lock.json node_modules/.installed-lock.json)
fi

source scripts/web_tree.sh
serve_web_build
work="$web_work"
xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/test_web.sh --linux-title "$linux_binary" "$work"
status=0
node tests/web/play_test.mjs "$web_url" "$work/linux.log" "$work/linux-title.png" "$work" || status=1
node tests/web/touch_test.mjs "$web_url" "$work" || status=1
exit "$status"
