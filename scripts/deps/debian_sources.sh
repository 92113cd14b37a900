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

# The pinned source packages (scripts/deps/debian_sources.txt): each one's version, the Linux
# build's development packages, and the packages of each use ("game", "benchmarks").
declare -A DEBIAN_SOURCE_VERSIONS=() DEBIAN_SOURCES_FOR=()
DEBIAN_LINUX_PACKAGES=()
while read -r package version linux_package use; do
  case "$package" in "" | "#"*) continue ;; esac
  DEBIAN_SOURCE_VERSIONS[$package]="$version"
  DEBIAN_SOURCES_FOR[$use]+="$package "
  [ "$linux_package" = - ] || DEBIAN_LINUX_PACKAGES+=("$linux_package")
done <"$(dirname "${BASH_SOURCE[0]}")/debian_sources.txt"

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

# Prints the cache directory for one platform's built dependencies, keyed by the pinned versions
# of the packages of USE (default "game") and by KEY (what else decides the result: the
# toolchain's version, the build script's own text), so that a change to any of them builds anew
# beside the old one.
dependency_prefix() {
  local platform="$1" key="$2" use="${3:-game}" package versions
  versions="$(for package in ${DEBIAN_SOURCES_FOR[$use]}; do
    echo "$package=${DEBIAN_SOURCE_VERSIONS[$package]}"
  done | sort)"
  echo "$TARNWICK_DEPS_CACHE/$platform-$(printf '%s\n%s\n' "$versions" "$key" | sha256sum | cut -c1-16)"
}
