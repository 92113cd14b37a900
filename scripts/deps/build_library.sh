#!/usr/bin/env bash
# Sourced by the Windows and web dependency builds, after scripts/deps/debian_sources.sh: builds
# one library from its Debian source tree and installs it, static, into a prefix.
#
#   CONFIGURE=(cmake -DCMAKE_TOOLCHAIN_FILE=…)     # or (emcmake cmake …): how to configure
#   build_cmake_library libogg "$prefix" -DBUILD_TESTING=OFF
#
# Each library is built once per prefix: a stamp in the prefix marks it done, so an interrupted
# build resumes with the library it stopped in.

BUILD_JOBS="${BUILD_JOBS:-$(nproc)}"

# Whether PACKAGE is already installed into PREFIX.
library_built() {
  [ -f "$2/.built/$1" ]
}

mark_library_built() {
  mkdir -p "$2/.built"
  touch "$2/.built/$1"
}

# Configures PACKAGE's source with "${CONFIGURE[@]}" and the given options, builds it and
# installs it into PREFIX. Its build tree lives beside the prefix and is removed afterwards.
build_cmake_library() {
  local package="$1" prefix="$2"
  shift 2
  library_built "$package" "$prefix" && return 0
  local source build
  source="$(debian_source "$package")" || return 1
  build="$prefix.build/$package"
  rm -rf "$build"
  mkdir -p "$build"
  echo "Building $package into $prefix" >&2
  "${CONFIGURE[@]}" -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$build.log" 2>&1 &&
    cmake --build "$build" -j"$BUILD_JOBS" >>"$build.log" 2>&1 &&
    cmake --install "$build" >>"$build.log" 2>&1 || {
    echo "Building $package failed; its log: $build.log" >&2
    return 1
  }
  rm -rf "$build"
  mark_library_built "$package" "$prefix"
}

# Builds libdeflate, whose 1.14 release comes with a Makefile only, into PREFIX: the make target
# TARGET (its static library, named as the platform names it) built with the given make
# variables (CC, AR, CFLAGS), installed as libdeflate.a with its header and pkg-config file.
build_libdeflate() {
  local prefix="$1" target="$2"
  shift 2
  library_built libdeflate "$prefix" && return 0
  local source build
  source="$(debian_source libdeflate)" || return 1
  build="$prefix.build/libdeflate"
  rm -rf "$build"
  mkdir -p "$build" "$prefix/lib/pkgconfig" "$prefix/include"
  cp -a "$source/." "$build"
  echo "Building libdeflate into $prefix" >&2
  make -C "$build" -j"$BUILD_JOBS" "$@" "$target" >"$build.log" 2>&1 || {
    echo "Building libdeflate failed; its log: $build.log" >&2
    return 1
  }
  cp "$build/$target" "$prefix/lib/libdeflate.a"
  cp "$build/libdeflate.h" "$prefix/include/"
  sed -e "s|@PREFIX@|$prefix|; s|@LIBDIR@|$prefix/lib|; s|@INCDIR@|$prefix/include|" \
    -e "s|@VERSION@|${DEBIAN_SOURCE_VERSIONS[libdeflate]%-*}|; s|@LIBS_PRIVATE@||" \
    "$build/libdeflate.pc.in" >"$prefix/lib/pkgconfig/libdeflate.pc"
  rm -rf "$build"
  mark_library_built libdeflate "$prefix"
}
