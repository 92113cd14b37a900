#!/usr/bin/env bash
# Installs the Debian packages that regenerating the art and sound needs (only the missing ones).
set -euo pipefail
packages=(librsvg2-bin python3 python3-cairo python3-numpy python3-scipy fonts-dejavu-core abcmidi fluidsynth fluid-soundfont-gm sox vorbis-tools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
