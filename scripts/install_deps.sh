#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the game need, or the
# packages named as arguments; only the missing ones. Runs as root, or through sudo.
set -euo pipefail

# The libraries' development packages, from the list of the sources they are built from elsewhere.
source "$(dirname "$0")/deps/debian_sources.sh"

packages=(
  "${DEBIAN_LINUX_PACKAGES[@]}"
  # toolchain and test tools; git reads the earlier liquid engine the benchmarks compare with
  cmake g++ make pkg-config libgtest-dev git
  # fuzzing and ThreadSanitizer: clang with libFuzzer and the sanitizers' runtimes; the sources'
  # layout check
  clang libclang-rt-14-dev clang-format-14
  # end-to-end tests: a virtual display (xvfb-run needs xauth, which xvfb only recommends),
  # input, window tools, screenshots, and a window manager to grant full screen
  xvfb xauth xdotool x11-utils x11-apps libx11-dev imagemagick openbox
  # the Debian package: dependencies found from the program, and Debian's checks
  dpkg-dev file lintian desktop-file-utils appstream
)

[ $# -gt 0 ] && packages=("$@")

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
# Through env: sudo would drop the variable, and debconf would then ask questions of no one.
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
