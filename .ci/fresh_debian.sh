#!/usr/bin/env bash
# Proves the README's two commands where they are promised to work: on a fresh Debian 12, made
# for this run with debootstrap (the minimal system: Priority required, and apt) and removed
# afterwards. In it, with a copy of this checkout:
#   1. a user who is not root, and has sudo, runs the display-less play command, which must
#      bring the title up (its log line); the time it took is printed;
#   2. root runs the test command, bash scripts/test.sh.
# Carried from run to run: only the base system's downloaded packages (one tarball a day) and
# the cross-built libraries of the Windows and web builds (the same cache and place as outside).
# Everything runs in a mount and PID namespace of its own, so that whatever ends the run, no
# mount and no process of the fresh system outlives it; the system's files are then removed.
#
#   bash .ci/fresh_debian.sh        (as root)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
source "$repo/.ci/failure_trace.sh"
release=bookworm
mirror=http://deb.debian.org/debian
deps_cache="${TARNWICK_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick-deps}"
# The play command brings up the title within this many seconds, installing and building.
play_seconds=1800
player=player

# Runs one step of the fresh system's use, named; a failure names the step on the way out (and
# the command that failed, through .ci/failure_trace.sh, for this script and those it runs).
step() {
  current_step="$1"
  shift
  echo "== $current_step" >&2
  local began=$SECONDS
  "$@"
  echo "== $current_step: done in $((SECONDS - began)) s" >&2
}

# A command inside the fresh system as root, in a clean environment.
as_root() {
  chroot "$root" /usr/bin/env -i HOME=/root USER=root LOGNAME=root LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin CI="${CI:-}" \
    TARNWICK_DEPS_CACHE="$deps_cache" BASH_ENV=/root/tarnwick/.ci/failure_trace.sh "$@"
}

# A command inside the fresh system as the player, a user with sudo.
as_player() {
  chroot --userspec="$player:$player" "$root" /usr/bin/env -i HOME="/home/$player" \
    USER="$player" LOGNAME="$player" LANG=C.UTF-8 PATH=/usr/local/bin:/usr/bin:/bin \
    BASH_ENV="/home/$player/tarnwick/.ci/failure_trace.sh" "$@"
}

# The base system's packages, downloaded once a day (Debian's point releases and security
# updates come with the next day's); older downloads are removed.
base_tarball() {
  local dir="${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick-debian-base"
  local tarball
  tarball="$dir/$release-minbase-$(date -u +%F).tgz"
  if [ ! -f "$tarball" ]; then
    mkdir -p "$dir"
    find "$dir" -name "$release-minbase-*" -delete
    local download
    download="$(mktemp -d "$dir/download.XXXXXX")"
    debootstrap --variant=minbase --make-tarball="$download/base.tgz" "$release" \
      "$download/target" "$mirror" >"$download/log" 2>&1 || {
      cat "$download/log" >&2
      rm -rf "$download"
      return 1
    }
    mv "$download/base.tgz" "$tarball"
    rm -rf "$download"
  fi
  echo "$tarball"
}

# Copies this checkout (its history too, for the benchmarks' comparison; not its builds) to DIR.
copy_checkout() {
  mkdir -p "$1"
  tar -C "$repo" --exclude=./build --exclude=./tests/web/node_modules -cf - . | tar -C "$1" -xf -
}

install_base() {
  if ! debootstrap --variant=minbase --unpack-tarball="$1" "$release" "$root" "$mirror" \
    >"$root.log" 2>&1; then
    cat "$root.log" >&2
    return 1
  fi
  rm -f "$root.log"
  # As Debian's installer leaves it: the release, its updates and its security updates.
  cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror $release main
deb $mirror $release-updates main
deb http://deb.debian.org/debian-security $release-security main
SOURCES
  # The network as this machine reaches it: its name servers, and the certificate authorities it
  # trusts beyond Debian's (a proxy on the way to the npm registry may sign with one of them);
  # ca-certificates adds them to the system's store when a script installs it.
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    mkdir -p "$root/usr/local/share/ca-certificates"
    cp -L /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
  fi
  copy_checkout "$root/root/tarnwick"
}

# The kernel's file systems, a /dev/shm of its own (Chromium's shared memory), and the
# cross-built libraries' cache at the same path as outside (the builds record their paths).
mount_system() {
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
  mkdir -p "$deps_cache" "$root$deps_cache"
  mount --bind "$deps_cache" "$root$deps_cache"
}

make_player() {
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    sudo >/dev/null
  as_root useradd --create-home --shell /bin/bash "$player"
  echo "$player ALL=(ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$player"
  chmod 0440 "$root/etc/sudoers.d/$player"
  copy_checkout "$root/home/$player/tarnwick"
  as_root chown -R "$player:$player" "/home/$player/tarnwick"
}

# The README's play command on a machine without a display, as the player: waits for the
# title, then ends the game as the system's shutdown would (SIGTERM, which the game takes as its
# window closed), and expects a clean end.
play_without_display() {
  local log="$root/home/$player/play.log" began=$SECONDS
  # shellcheck disable=SC2016
  as_player bash -c 'cd ~/tarnwick && bash scripts/install_deps.sh &&
    xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/run.sh' >"$log" 2>&1 &
  local play=$!
  until grep -qs '^Sprite created!$' "$log"; do
    if ! kill -0 $play 2>/dev/null || [ $((SECONDS - began)) -gt $play_seconds ]; then
      tail -n 40 "$log" >&2
      echo "The play command showed no title" >&2
      return 1
    fi
    sleep 0.5
  done
  echo "The play command brought the title up in $((SECONDS - began)) s" >&2
  local game
  game="$(game_process)"
  kill -TERM "$game"
  local status=0
  wait $play || status=$?
  if [ $status -ne 0 ] || ! grep -q '^Caught Exit!$' "$log"; then
    tail -n 40 "$log" >&2
    echo "The game did not end cleanly (status $status)" >&2
    return 1
  fi
}

# The game's process: the only one in this namespace running the built game.
game_process() {
  local game="$root/home/$player/tarnwick/build/release/tarnwick" process
  for process in /proc/[0-9]*; do
    [ "$(readlink "$process/exe" 2>/dev/null)" = "$game" ] && echo "${process#/proc/}" && return
  done
  echo "no process runs $game" >&2
  return 1
}

run_tests() {
  as_root bash -c 'cd /root/tarnwick && bash scripts/test.sh'
}

# Inside the namespaces: builds the fresh system in ROOT from TARBALL and uses it.
inside() {
  root="$1"
  trap 'status=$?; [ $status -eq 0 ] ||
    echo "FAILED in the fresh Debian 12, at the step: $current_step (status $status)" >&2' EXIT
  step "installing Debian 12's minimal system" install_base "$2"
  step "mounting the kernel's file systems and the libraries' cache" mount_system
  step "adding a user with sudo" make_player
  step "the play command without a display, as that user" play_without_display
  step "the test command, as root" run_tests
}

if [ "${1:-}" = --inside ]; then
  inside "$2" "$3"
  exit
fi

[ "$(id -u)" -eq 0 ] || { echo "Making a Debian system takes root" >&2; exit 1; }
began=$SECONDS
bash "$repo/scripts/install_deps.sh" debootstrap
tarball="$(base_tarball)"

# Each run's system lives under the folder of its process; one whose process is gone was left
# by a run that was killed, and goes.
roots=/var/tmp/tarnwick-fresh-debian
mkdir -p "$roots"
for old in "$roots"/*; do
  owner="$(basename "$old" .log)"
  [ "$owner" = "*" ] || kill -0 "$owner" 2>/dev/null || rm -rf --one-file-system "$old"
done
root="$roots/$$"
mkdir "$root"
namespace=""
# Mounts live in the namespace alone: once its processes are gone, removing the files cannot
# reach into the cache or anything else that was mounted there.
leave() {
  if [ -n "$namespace" ]; then
    # The namespace's first process; when it ends, the kernel ends every other one in it, and
    # it becomes a zombie only once they are all gone.
    local first
    first="$(cat "/proc/$namespace/task/$namespace/children" 2>/dev/null || true)"
    # unshare ignores SIGTERM while it waits; killed, it takes the namespace's first process along.
    kill -KILL "$namespace" 2>/dev/null || true
    wait "$namespace" 2>/dev/null || true
    for first in $first; do
      while [ -e "/proc/$first" ] && ! grep -q '^State:.Z' "/proc/$first/status" 2>/dev/null; do
        sleep 0.2
      done
    done
  fi
  rm -rf --one-file-system "$root" "$root.log"
}
trap leave EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
unshare --mount --pid --fork --kill-child --mount-proc bash "$0" --inside "$root" "$tarball" &
namespace=$!
status=0
wait $namespace || status=$?
namespace=""
echo "The fresh Debian 12's run took $((SECONDS - began)) s" >&2
exit $status
