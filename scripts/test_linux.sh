#!/usr/bin/env bash
# The Linux archive, proven on other distributions' releases: builds it (scripts/build_linux.sh,
# which checks its glibc symbols and the libraries it needs), then in fresh Debian 11 and Debian 13
# systems that hold only what every desktop has (X11 and its extensions, GL, the sound libraries,
# D-Bus; no SDL) unpacks it into a folder whose path has a space and a non-ASCII letter, drives it
# from / on a virtual display as the Debian game is driven and holds it to the Debian build in
# LINUX_BUILD (default build/test, whose objects it reuses), and checks that a broken asset list
# on a system without a sound device ends both the same way.
#
#   bash scripts/test_linux.sh [LINUX_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
linux_build="$(realpath -m "${1:-build/test}")"
started=$SECONDS
source scripts/deps/debian_sources.sh
source scripts/deps/debian_root.sh
source tests/ported/broken_asset_list.sh

# A desktop's own libraries, which SDL loads when the game starts: X11 and its extensions,
# Wayland's client libraries, GL with Mesa's drivers, PulseAudio's and ALSA's libraries, D-Bus.
desktop_libraries=libx11-6,libx11-xcb1,libxext6,libxcursor1,libxi6,libxrandr2,libxss1,libxfixes3
desktop_libraries+=,libxinerama1,libxkbcommon0,libwayland-client0,libwayland-cursor0
desktop_libraries+=,libwayland-egl1,libgl1,libegl1,libgl1-mesa-dri,libpulse0,libdbus-1-3
# ALSA's library took a new package name in Debian 13.
declare -A alsa=([bullseye]=libasound2 [trixie]=libasound2t64)
releases=(bullseye trixie)

# The systems' downloads (the first time only) while the archive builds.
bash scripts/install_deps.sh debootstrap debian-archive-keyring desktop-file-utils
for release in "${releases[@]}"; do
  debian_root_tarball "$release" "$desktop_libraries,${alsa[$release]}" >/dev/null &
done
archive="$(bash scripts/build_linux.sh | tail -1)"
name="$(basename "$archive" .tar.gz)"
for release in "${releases[@]}"; do
  wait -n || { echo "A Debian system could not be downloaded" >&2; exit 1; }
done
cmake --build "$linux_build" -j"$(nproc)" --target tarnwick_ported_tests >/dev/null
roots="$repo/build/linux/roots"
players="/home/zoë/Mes jeux"
export TARNWICK_PORTED_GAME="$repo/tests/linux/root_game.sh"
trap 'for root in "$roots"/*/; do unmount_debian_root "$root"; done' EXIT

for release in "${releases[@]}"; do
  echo "== Debian $release: the archive unpacked where a player might, held to the Debian game"
  packages="$desktop_libraries,${alsa[$release]}"
  root="$roots/$release"
  make_debian_root "$(debian_root_tarball "$release" "$packages")" "$release" "$packages" "$root"
  mount_debian_root "$root"
  mkdir -p "$root$players"
  tar -xzf "$archive" -C "$root$players"
  TARNWICK_LINUX_ROOT="$root" TARNWICK_LINUX_GAME="$players/$name/tarnwick" \
    "$linux_build/tarnwick_ported_tests" --gtest_brief=1

  echo "== Debian $release: the game in the desktop's menu"
  in_debian_root "$root" "$players/$name/add-to-menu.sh" >/dev/null
  entry="$root/root/.local/share/applications/tarnwick.desktop"
  desktop-file-validate "$entry"
  grep -qxF "Exec=\"$players/$name/tarnwick\"" "$entry" &&
    [ -f "$root/root/.local/share/icons/hicolor/256x256/apps/tarnwick.png" ] || {
    echo "add-to-menu.sh made no entry that starts the game: $(cat "$entry")" >&2
    exit 1
  }

  echo "== Debian $release: a broken asset list, and no sound device: the same ends as on Debian"
  cp -r "$root$players/$name" "$root$players/broken"
  (
    unset SDL_AUDIODRIVER SDL_VIDEODRIVER
    export PLATFORM_NOISE='^ALSA lib '
    broken_asset_list_ends_alike "$root$players/broken" "$linux_build/tarnwick" "Debian $release" \
      chroot "$root" sh -c 'cd "$1" && exec ./tarnwick' - "$players/broken"
  )
  unmount_debian_root "$root"
done
echo "Linux archive tested in $((SECONDS - started)) s"
