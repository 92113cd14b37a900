#!/usr/bin/env bash
# Sourced by the Linux build and its tests, after scripts/deps/debian_sources.sh: Debian systems
# of other releases made by debootstrap, whose downloads stay in the cache outside the clone.
#
#   tarball="$(debian_root_tarball bullseye "libx11-6,libgl1")"   # downloaded once
#   make_debian_root "$tarball" bullseye "libx11-6,libgl1" "$dir" # a fresh system from it
#   mount_debian_root "$dir"; in_debian_root "$dir" cmd...; unmount_debian_root "$dir"
#
# Works inside a chroot too (as in CI): the systems get their own /proc and the caller's /dev.

DEBIAN_MIRROR="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"

# Prints the tarball of RELEASE's minimal system with the comma-separated PACKAGES, downloading
# it on first use.
debian_root_tarball() {
  local release="$1" packages="$2"
  local tarball
  tarball="$TARNWICK_DEPS_CACHE/roots/$release-$(echo "$packages" | sha256sum | cut -c1-16).tar.gz"
  if [ ! -f "$tarball" ]; then
    mkdir -p "$TARNWICK_DEPS_CACHE/roots"
    local work
    work="$(mktemp -d "$TARNWICK_DEPS_CACHE/roots/download.XXXXXX")"
    echo "Downloading Debian $release with $packages" >&2
    debootstrap --variant=minbase ${packages:+--include="$packages"} --make-tarball="$work/root.tar.gz" \
      "$release" "$work/root" "$DEBIAN_MIRROR" >"$work.log" 2>&1 || {
      echo "debootstrap could not download $release; its log: $work.log" >&2
      rm -rf "$work"
      return 1
    }
    mv "$work/root.tar.gz" "$tarball"
    rm -rf "$work" "$work.log"
  fi
  echo "$tarball"
}

# Makes a fresh system in DIR from a tarball of debian_root_tarball, without the network.
make_debian_root() {
  local tarball="$1" release="$2" packages="$3" dir="$4"
  unmount_debian_root "$dir"
  # Never delete through a mount that is still there (the caller's /dev, the clone, the cache).
  if [ -n "$(debian_root_mounts "$dir")" ]; then
    echo "$dir still has mounts: $(debian_root_mounts "$dir")" >&2
    return 1
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  debootstrap --variant=minbase ${packages:+--include="$packages"} --unpack-tarball="$tarball" \
    "$release" "$dir" "$DEBIAN_MIRROR" >"$dir.log" 2>&1 || {
    echo "debootstrap could not make $release in $dir; its log: $dir.log" >&2
    return 1
  }
  cp /etc/resolv.conf "$dir/etc/resolv.conf" 2>/dev/null || true
}

# Mounts /proc and the caller's /dev into DIR, and binds each further HOST:INSIDE pair of
# directories; unmount_debian_root undoes it all.
mount_debian_root() {
  local dir="$1" pair
  shift
  unmount_debian_root "$dir"
  mount -t proc proc "$dir/proc"
  mount --bind /dev "$dir/dev"
  for pair in "$@"; do
    mkdir -p "$dir${pair#*:}"
    mount --bind "${pair%%:*}" "$dir${pair#*:}"
  done
}

# The mount points inside DIR, deepest first.
debian_root_mounts() {
  [ -d "$1" ] || return 0
  awk '{print $2}' /proc/mounts | sed 's/\\040/ /g' | { grep -F "$(realpath "$1")/" || true; } |
    sort -r
}

# A system left mounted by an interrupted run is cleaned up the same way.
unmount_debian_root() {
  local point
  debian_root_mounts "$1" | while read -r point; do umount -l "$point"; done
}

# Runs a command inside DIR with a plain environment.
in_debian_root() {
  local dir="$1"
  shift
  chroot "$dir" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
