#!/usr/bin/env bash
# Installs the Debian packages that building the Windows release and testing it under wine
# need; only the missing ones, through scripts/install_deps.sh.
set -euo pipefail

packages=(
  # the cross compiler (posix threads, for std::thread), Windows' zlib, the installer's maker
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nsis zip imagemagick cmake make pkg-config
  # the libraries' Debian sources: dpkg-source and the archive's keys
  dpkg-dev debian-archive-keyring
  # googletest's source, for the tests built for Windows
  libgtest-dev
  # the tests: wine on a virtual display, with keys pressed by xdotool
  wine wine64 xvfb xauth xdotool x11-utils unzip
)

exec bash "$(dirname "$0")/install_deps.sh" "${packages[@]}"
