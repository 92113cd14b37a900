#!/usr/bin/env bash
# Builds the game for any x86-64 Linux with glibc 2.31 or newer (installing what it needs): the
# libraries from Debian 12's sources inside a Debian 11 system (scripts/deps/linux.sh), then the
# game there with C++'s runtime linked in, and makes
# build/linux/tarnwick-<version>-linux-x86_64.tar.gz: one folder that runs wherever it is
# unpacked. It checks that no program or library in it needs a newer glibc, or a library that
# is neither in it nor on every desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
source scripts/deps/debian_sources.sh
source scripts/deps/debian_root.sh

bash scripts/install_deps.sh binutils
dependencies="$(bash scripts/deps/linux.sh)"
root="$(sed -n 1p <<<"$dependencies")"
prefix="$(sed -n 2p <<<"$dependencies")"
version="$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\)$/\1/p' CMakeLists.txt)"
out="$repo/build/linux"
name="tarnwick-$version-linux-x86_64"
# The Debian 11 system sees the clone at /tarnwick and the cache at /deps.
build=/tarnwick/build/linux/build
host_prefix="$TARNWICK_DEPS_CACHE/${prefix#/deps/}"
mkdir -p "$out"

trap 'unmount_debian_root "$root"' EXIT
mount_debian_root "$root" "$TARNWICK_DEPS_CACHE:/deps" "$repo:/tarnwick"
# CMake keeps where it found each library: a build made against other dependencies starts anew.
if [ "$(cat "$out/build/dependencies" 2>/dev/null)" != "$prefix" ]; then
  rm -rf "$out/build"
  mkdir -p "$out/build"
  echo "$prefix" >"$out/build/dependencies"
fi
in_debian_root "$root" PKG_CONFIG_PATH="$prefix/lib/pkgconfig" CCACHE_DIR=/deps/linux-ccache \
  CCACHE_BASEDIR=/tarnwick cmake -S /tarnwick -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DTARNWICK_BENCH=OFF -DTARNWICK_TESTS=OFF -DTARNWICK_ONE_FOLDER=ON \
  "-DCMAKE_EXE_LINKER_FLAGS=-static-libstdc++ -static-libgcc" \
  "-DCMAKE_INSTALL_RPATH=\$ORIGIN/lib" -DCMAKE_BUILD_WITH_INSTALL_RPATH=ON \
  >"$out/configure.log" 2>&1 || {
  cat "$out/configure.log" >&2
  exit 1
}
in_debian_root "$root" CCACHE_DIR=/deps/linux-ccache CCACHE_BASEDIR=/tarnwick \
  cmake --build "$build" -j"$(nproc)" --target tarnwick

# The folder: the program, beside it the libraries it needs that a desktop may lack (found in
# lib/ through the program's run path, each further one through its own), its assets, the desktop
# entry and icon with the script that adds them to the player's menu, the licence and a README.
stage="$out/$name"
rm -rf "$stage" "$out/$name.tar.gz"
mkdir -p "$stage/lib"
strip -o "$stage/tarnwick" "$out/build/tarnwick"
bundle_needed() {
  local needed
  for needed in $(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
    if [ -f "$host_prefix/lib/$needed" ] && [ ! -f "$stage/lib/$needed" ]; then
      strip --strip-unneeded -o "$stage/lib/$needed" "$host_prefix/lib/$needed"
      bundle_needed "$stage/lib/$needed"
    fi
  done
}
bundle_needed "$stage/tarnwick"
cp -r assets "$stage/"
cp LICENSE "$stage/"
cp data/icons/hicolor/256x256/apps/tarnwick.png "$stage/"
sed 's|@TARNWICK_LAUNCHER@|tarnwick|' data/tarnwick.desktop.in >"$stage/tarnwick.desktop"
cp data/linux/add-to-menu.sh "$stage/"
sed "s/@VERSION@/$version/" data/linux/README.txt.in >"$stage/README.txt"

# Every ELF file may need glibc 2.31 at most, and besides the libraries in the folder only those
# of the C library and zlib, which every Linux has: SDL loads the desktop's X11, Wayland, GL and
# sound libraries itself when the game starts.
base_libraries='^(libc\.so\.6|libm\.so\.6|libdl\.so\.2|libpthread\.so\.0|librt\.so\.1|ld-linux-x86-64\.so\.2|libz\.so\.1)$'
newest_glibc=2.0
while read -r elf; do
  glibc="$(objdump -T "$elf" | grep -o 'GLIBC_[0-9][0-9.]*' | sed 's/GLIBC_//' | sort -uV | tail -1)"
  if [ "$(printf '%s\n%s\n' "${glibc:-2.0}" 2.31 | sort -V | tail -1)" != 2.31 ]; then
    echo "$elf needs glibc $glibc, newer than 2.31" >&2
    exit 1
  fi
  newest_glibc="$(printf '%s\n%s\n' "${glibc:-2.0}" "$newest_glibc" | sort -V | tail -1)"
  for needed in $(readelf -d "$elf" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
    if [ ! -f "$stage/lib/$needed" ] && ! grep -qE "$base_libraries" <<<"$needed"; then
      echo "$elf needs $needed, which is neither in the archive nor on every desktop" >&2
      exit 1
    fi
  done
done < <(find "$stage" -type f -exec sh -c 'head -c4 "$1" | grep -q ELF' _ {} \; -print)

(cd "$out" && tar --sort=name --owner=0 --group=0 --numeric-owner -czf "$name.tar.gz" "$name")
echo "Newest glibc symbol: $newest_glibc; libraries: $(cd "$stage/lib" && echo *)" >&2
echo "$out/$name.tar.gz"
