#!/usr/bin/env bash
# Makes the browser build in build/web/: index.html, tarnwick.js, tarnwick.wasm and tarnwick.data
# (the assets), the web app manifest with its icons and the service worker that keeps them all
# for offline play, and build/web/tarnwick-<version>-web.zip of the same, ready for a static host.
# Installs Debian's emscripten first if missing, and builds the libraries once (scripts/deps/web.sh).
#   bash scripts/build_web.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

bash scripts/install_deps.sh emscripten nodejs python3 zip

source scripts/web_tree.sh
tree=build/web-tree
configure_web_tree "$tree" -DTARNWICK_BENCH=OFF
cmake --build "$tree" -j"$BUILD_JOBS" --target tarnwick

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")"
out=build/web
rm -rf "$out"
mkdir -p "$out"
cp "$tree"/tarnwick.js "$tree"/tarnwick.wasm "$tree"/tarnwick.data "$out/"
# The page shows the decoding's progress by the assets the log names, out of all it lists.
assets="$(python3 -c 'import json, sys; l = json.load(open(sys.argv[1])); print(len(l["bitmap"]) + len(l["sound"]))' assets/assets_list.json)"
sed "s/@ASSET_COUNT@/$assets/" web/index.html >"$out/index.html"
for size in 192 512; do
  cp "data/icons/hicolor/${size}x${size}/apps/tarnwick.png" "$out/icon-$size.png"
done
description="$(sed -n 's/^CMAKE_PROJECT_DESCRIPTION:STATIC=//p' "$tree/CMakeCache.txt")"
sed "s/@DESCRIPTION@/$description/" web/manifest.webmanifest >"$out/manifest.webmanifest"
# The service worker keeps every file above, in a cache named by the version and the files' own
# digest: its bytes change with any of them, so browsers fetch the new build whole.
files=(index.html tarnwick.js tarnwick.wasm tarnwick.data manifest.webmanifest icon-192.png icon-512.png)
digest="$(cd "$out" && cat "${files[@]}" | sha256sum | cut -c1-12)"
file_list="$(printf '"%s", ' "${files[@]}")"
sed -e "s/@CACHE_NAME@/tarnwick-$version-$digest/" -e "s/@FILES@/[${file_list%, }]/" \
  web/service-worker.js >"$out/service-worker.js"
files+=(service-worker.js)
zip="tarnwick-$version-web.zip"
(cd "$out" && zip -q -9 -X "$zip" "${files[@]}")

echo "Browser build in $root/$out:"
for file in "${files[@]}" "$zip"; do
  printf '  %-28s %9d bytes, %9d gzip -9\n' "$file" "$(stat -c %s "$out/$file")" \
    "$(gzip -9c "$out/$file" | wc -c)"
done
