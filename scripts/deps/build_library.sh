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
