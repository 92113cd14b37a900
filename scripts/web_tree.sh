#!/usr/bin/env bash
# Sourced by the browser build's scripts (build, test, benchmarks), from the repository's root:
#   configure_web_tree build/web-tree -DTARNWICK_BENCH=OFF   a build tree of the game, configured
#       with emscripten against the libraries of scripts/deps/web.sh (built first if need be);
#   serve_web_build                                          build/web/ served as a static host.

source scripts/deps/emscripten.sh
export BUILD_JOBS="${BUILD_JOBS:-$(nproc)}"

# Prints nothing; fails with the configure log on standard error. Extra prefixes (the
# benchmark library's) may be given in WEB_EXTRA_PREFIXES, separated by ";".
configure_web_tree() {
  local tree="$1" prefix
  shift
  prefix="$(bash scripts/deps/web.sh)" || return 1
  local prefixes="$prefix${WEB_EXTRA_PREFIXES:+;$WEB_EXTRA_PREFIXES}"
  local launcher=()
  # The log sits beside the tree, whose parent a fresh clone does not have yet.
  mkdir -p "$(dirname "$tree")"
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # pkg-config reads the prefix's files, never the system's, and names what the static libraries
  # need in turn (libvorbisfile: libvorbis and libogg).
  PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH="" \
    "${CONFIGURE[@]}" -S . -B "$tree" -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF \
    -DPKG_CONFIG_ARGN=--static -DCMAKE_PREFIX_PATH="$prefixes" -DCMAKE_FIND_ROOT_PATH="$prefixes" "${launcher[@]}" "$@" \
    >"$tree.log" 2>&1 || {
    cat "$tree.log" >&2
    return 1
  }
}

# Serves build/web/ on a free port of 127.0.0.1 as a plain static host does (no cross-origin
# isolation headers) until the script exits, and sets web_url to its page and web_work to a
# scratch folder removed then too.
serve_web_build() {
  web_work="$(mktemp -d)"
  local port
  port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
  python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web >"$web_work/server.log" 2>&1 &
  web_server=$!
  trap 'kill "$web_server" 2>/dev/null; rm -rf "$web_work"' EXIT
  web_url="http://127.0.0.1:$port/index.html"
}
