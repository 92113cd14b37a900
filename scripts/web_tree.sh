#!/usr/bin/env bash
# Sourced by scripts/build_web.sh and scripts/bench_web.sh: configures a build tree of the game
# with emscripten against the libraries of scripts/deps/web.sh (built first if need be).
#   configure_web_tree build/web-tree -DTARNWICK_BENCH=OFF

export NODE_PATH=/usr/share/nodejs  # where emcc finds Debian's acorn
export BUILD_JOBS="${BUILD_JOBS:-$(nproc)}"

# Prints nothing; fails with the configure log on standard error. Extra prefixes (the
# benchmark library's) may be given in WEB_EXTRA_PREFIXES, separated by ";".
configure_web_tree() {
  local tree="$1" prefix
  shift
  prefix="$(bash scripts/deps/web.sh)" || return 1
  local prefixes="$prefix${WEB_EXTRA_PREFIXES:+;$WEB_EXTRA_PREFIXES}"
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # pkg-config reads the prefix's files, never the system's, and names what the static libraries
  # need in turn (libvorbisfile: libvorbis and libogg).
  PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH="" \
    emcmake cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DPKG_CONFIG_ARGN=--static \
    -DCMAKE_CROSSCOMPILING_EMULATOR="/usr/bin/node;--no-experimental-fetch" \
    -DCMAKE_PREFIX_PATH="$prefixes" -DCMAKE_FIND_ROOT_PATH="$prefixes" "${launcher[@]}" "$@" \
    >"$tree.log" 2>&1 || {
    cat "$tree.log" >&2
    return 1
  }
}
