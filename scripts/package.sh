#!/usr/bin/env bash
# Makes the Debian package, build-dir/package/tarnwick_<version>_<arch>.deb, and checks it as
# Debian would: lintian, desktop-file-validate and appstreamcli. Builds the game first in
# build-dir (default build/release, the one scripts/run.sh makes), reusing what is already built
# there; a new build directory gets an optimised build of the game alone.
#   bash scripts/package.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
bash scripts/install_deps.sh

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
elif grep -q '^TARNWICK_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "$build is a sanitized build, not one to give players; package another" >&2
  exit 1
fi
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/package/tarnwick_*.deb
(cd "$build" && cpack >/dev/null)
deb="$(ls "$build"/package/tarnwick_*.deb)"

# Every tag that lintian warns of, not only its errors, fails the package.
lintian --fail-on error,warning "$deb"

contents="$(mktemp -d)"
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/tarnwick.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
version="$(dpkg-deb -f "$deb" Version)"
if [ "$(dpkg-parsechangelog -l data/changelog -S Version)" != "$version" ]; then
  echo "data/changelog has no entry for version $version at its top" >&2
  exit 1
fi
echo "Package written to $deb"
