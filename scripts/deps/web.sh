#!/usr/bin/env bash
# Builds the libraries the web build links, with Debian's emscripten, from the same Debian 12
# sources as the Linux build, into a cache outside the clone; prints the prefix they are in.
#   prefix="$(bash scripts/deps/web.sh)"
# Built once per emscripten version and text of this script: later runs only print the prefix.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/debian_sources.sh"
source "$here/build_library.sh"
source "$here/emscripten.sh"

emcc_version="$(emcc -dumpversion)"
prefix="$(dependency_prefix web "emcc $emcc_version $(cat "$here/web.sh" "$here/build_library.sh" "$here/emscripten.sh" | sha256sum)")"

mkdir -p "$prefix"
# SDL's audio and video run on the page's own thread; no pthreads, so any static host serves it.
build_cmake_library libsdl2 "$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_PTHREADS=OFF
build_cmake_library libogg "$prefix" -DBUILD_TESTING=OFF -DINSTALL_DOCS=OFF
build_cmake_library libvorbis "$prefix" -DBUILD_TESTING=OFF
# Pictures: PNG alone, through the built-in decoder (the game's own decoder does the shipped ones).
sdl_image_formats=()
for format in AVIF BMP GIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV; do
  sdl_image_formats+=("-DSDL2IMAGE_$format=OFF")
done
build_cmake_library libsdl2-image "$prefix" -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
  -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNG_SAVE=OFF \
  "${sdl_image_formats[@]}"
# Its installed configuration asks for libpng whenever PNG is on, even though nothing links it.
sed -i '/if(SDL2IMAGE_PNG AND NOT SDL2IMAGE_VENDORED/,/endif()/d' "$prefix/lib/cmake/SDL2_image/SDL2_imageConfig.cmake"
# Sounds: Ogg Vorbis through the libvorbisfile the game decodes with as well.
build_cmake_library libsdl2-mixer "$prefix" -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_VORBIS=VORBISFILE -DSDL2MIXER_VORBIS_VORBISFILE_SHARED=OFF \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_CMD=OFF
build_cmake_library box2d "$prefix" -DBOX2D_BUILD_UNIT_TESTS=OFF -DBOX2D_BUILD_TESTBED=OFF \
  -DBOX2D_BUILD_DOCS=OFF
build_cmake_library nlohmann-json3 "$prefix" -DJSON_BuildTests=OFF
# libdeflate through its Makefile, with emscripten's compiler and archiver.
build_libdeflate "$prefix" libdeflate.a CC=emcc AR=emar CFLAGS="-O2 -DNDEBUG"
echo "$prefix"
