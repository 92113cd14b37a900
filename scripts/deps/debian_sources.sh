#!/usr/bin/env bash
# Sourced by the Windows and web builds: fetches the source of the libraries the game links,
# exactly as Debian 12 ships them to the Linux build, and unpacks it (Debian's patches applied)
# into a cache outside the clone, so that every build after the first finds it there.
#
#   source scripts/deps/debian_sources.sh
#   dir="$(debian_source libogg)"      # the unpacked tree, fetched on first use
#
# apt-get reads deb-src lines from a private configuration under the cache, never the system's,
# and checks every file against the signed source index.

# Where fetched sources and built dependencies live; outside any clone, kept across builds.
TARNWICK_DEPS_CACHE="${TARNWICK_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick-deps}"

# The source packages and the versions the Linux build uses (libpng1.6: the same release with a
# later security upload). Pinned, because Debian's mirrors do not keep the sources of every
# security upload that their index lists (libpng1.6 +deb12u6 and zlib +deb12u1 answer 404).
declare -A DEBIAN_SOURCE_VERSIONS=(
  [libsdl2]=2.26.5+dfsg-1
  [libsdl2-image]=2.6.3+dfsg-1
  [libsdl2-mixer]=2.6.2+dfsg-2
  [box2d]=2.4.1-3
  [libpng1.6]=1.6.39-2+deb12u5
  [libogg]=1.3.5-3
  [libvorbis]=1.3.7-1
  [libdeflate]=1.14-1
  [zlib]=1:1.2.13.dfsg-1
  [nlohmann-json3]=3.11.2-2
)

# A private apt configuration that knows Debian 12's source indices; updated once per cache.
debian_sources_apt_config() {
  local root="$TARNWICK_DEPS_CACHE/apt"
  # A cache moved or copied from elsewhere keeps a configuration that names its old place.
  if [ ! -f "$root/updated" ] || ! grep -qF "\"$root/lists\"" "$root/apt.conf"; then
    mkdir -p "$root/lists/partial" "$root/archives/partial" "$root/sources.list.d"
    cat >"$root/sources.list.d/debian-src.sources" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    cat >"$root/apt.conf" <<CONF
Dir::Etc::SourceList "/dev/null";
Dir::Etc::SourceParts "$root/sources.list.d";
Dir::State::Lists "$root/lists";
Dir::Cache "$root/cache";
Dir::Cache::Archives "$root/archives";
Dir::State::Status "/var/lib/dpkg/status";
APT::Sandbox::User "root";
CONF
    APT_CONFIG="$root/apt.conf" apt-get update -qq >&2 || return 1
    touch "$root/updated"
  fi
  echo "$root/apt.conf"
}

# Prints the directory of PACKAGE's unpacked source tree, fetching and unpacking it first if the
# cache does not have it yet.
debian_source() {
  local package="$1"
  local version="${DEBIAN_SOURCE_VERSIONS[$package]:?no pinned version for $package}"
  local unpacked="$TARNWICK_DEPS_CACHE/src/$package-${version#*:}"
  if [ ! -f "$unpacked/.unpacked" ]; then
    local config download
    config="$(debian_sources_apt_config)" || return 1
    download="$(mktemp -d "$TARNWICK_DEPS_CACHE/download.XXXXXX")"
    (cd "$download" && APT_CONFIG="$config" apt-get source -qq --download-only \
      "$package=$version" >&2) || { rm -rf "$download"; return 1; }
    # apt has checked every file against the signed index; dpkg-source applies Debian's patches.
    dpkg-source --no-check -x "$download"/*.dsc "$download/tree" >/dev/null || {
      rm -rf "$download"
      return 1
    }
    rm -rf "$unpacked"
    mkdir -p "$TARNWICK_DEPS_CACHE/src"
    mv "$download/tree" "$unpacked"
    rm -rf "$download"
    touch "$unpacked/.unpacked"
  fi
  echo "$unpacked"
}

# Prints the cache directory for one platform's built dependencies, keyed by the pinned source
# versions and by KEY (what else decides the result: the toolchain's version, the build script's
# own text), so that a change to any of them builds anew beside the old one.
dependency_prefix() {
  local platform="$1" key="$2" versions
  versions="$(for package in "${!DEBIAN_SOURCE_VERSIONS[@]}"; do
    echo "$package=${DEBIAN_SOURCE_VERSIONS[$package]}"
  done | sort)"
  echo "$TARNWICK_DEPS_CACHE/$platform-$(printf '%s\n%s\n' "$versions" "$key" | sha256sum | cut -c1-16)"
}
