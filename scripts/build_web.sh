#!/usr/bin/env bash
# Makes the browser build in build/web/: index.html, tarnwick.js, tarnwick.wasm and tarnwick.data
# (the assets), and build/web/tarnwick-<version>-web.zip of the same, ready for a static host.
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
zip="tarnwick-$version-web.zip"
(cd "$out" && zip -q -9 -X "$zip" index.html tarnwick.js tarnwick.wasm tarnwick.data)

echo "Browser build in $root/$out:"
for file in index.html tarnwick.js tarnwick.wasm tarnwick.data "$zip"; do
  printf '  %-28s %9d bytes, %9d gzip -9\n' "$file" "$(stat -c %s "$out/$file")" \
    "$(gzip -9c "$out/$file" | wc -c)"
done
