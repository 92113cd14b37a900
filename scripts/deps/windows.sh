#!/usr/bin/env bash
# Builds, static, for 64-bit Windows, the libraries the game links, from Debian 12's own source
# packages (the versions the Linux build links), into a cache outside the clone, and prints that
# prefix. A second run finds them built and only prints it.
#
#   prefix="$(bash scripts/deps/windows.sh)"
#
# zlib is Debian's libz-mingw-w64-dev; scripts/build_windows.sh installs it with the toolchain.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
source "$repo/scripts/deps/debian_sources.sh"
source "$repo/scripts/deps/build_library.sh"

toolchain_file="$repo/cmake/mingw-w64-x86_64.cmake"
triplet=x86_64-w64-mingw32
# Anything that changes the built libraries changes the prefix: the compiler, this script and
# the toolchain file.
key="$("$triplet-g++-posix" --version | head -1)
$(cat "$0" "$toolchain_file" "$repo/scripts/deps/build_library.sh" | sha256sum)"
prefix="$(dependency_prefix windows "$key")"

CONFIGURE=(cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain_file")
# Only the cross prefix's and the toolchain's pkg-config files, never the build machine's.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$triplet/lib/pkgconfig"

build_cmake_library libogg "$prefix" -DBUILD_TESTING=OFF -DINSTALL_DOCS=OFF
build_cmake_library libvorbis "$prefix"
# libdeflate through its Makefile; the archive it makes for Windows is installed under the name
# its pkg-config file links (-ldeflate).
build_libdeflate "$prefix" libdeflatestatic.lib CC="$triplet-gcc-posix" AR="$triplet-gcc-ar-posix" \
  CFLAGS="-O2"
build_cmake_library libpng1.6 "$prefix" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF
build_cmake_library box2d "$prefix" -DBOX2D_BUILD_UNIT_TESTS=OFF -DBOX2D_BUILD_TESTBED=OFF \
  -DBOX2D_BUILD_DOCS=OFF
build_cmake_library nlohmann-json3 "$prefix" -DJSON_BuildTests=OFF
build_cmake_library libsdl2 "$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# Pictures through libpng and sounds through libvorbisfile, as on Linux, linked in rather than
# loaded as DLLs; every other format off.
build_cmake_library libsdl2-image "$prefix" -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_VENDORED=OFF \
  -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_BACKEND_STB=OFF -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_JPG=OFF \
  -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF
build_cmake_library libsdl2-mixer "$prefix" -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VENDORED=OFF \
  -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VORBIS=VORBISFILE -DSDL2MIXER_VORBIS_VORBISFILE_SHARED=OFF \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_CMD=OFF
echo "$prefix"
