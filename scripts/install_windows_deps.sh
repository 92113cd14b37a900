#!/usr/bin/env bash
# Installs the Debian packages that building the Windows release and testing it under wine
# need; only the missing ones. Runs as root, or through sudo.
set -euo pipefail

packages=(
  # the cross compiler (posix threads, for std::thread), Windows' zlib, the installer's maker
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nsis zip imagemagick cmake make pkg-config
  # the libraries' Debian sources: dpkg-source and the archive's keys
  dpkg-dev debian-archive-keyring
  # googletest's source, for the tests built for Windows
  libgtest-dev
  # the tests: wine on a virtual display, with keys pressed by xdotool
  wine wine64 xvfb xdotool x11-utils unzip
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=""
[ "$(id -u)" -ne 0 ] && as_root="sudo"
$as_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
