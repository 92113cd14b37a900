#!/usr/bin/env bash
# Builds, for any x86-64 Linux with glibc 2.31 or newer, the libraries the game links, from
# Debian 12's own source packages (the versions the Debian build links), inside a Debian 11
# system made by debootstrap. That system and the built libraries stay in a cache outside the
# clone; a second run finds them there. Prints the system's directory and then the libraries'
# prefix as seen inside it.
#
#   { read -r root; read -r prefix; } < <(bash scripts/deps/linux.sh)
#
# SDL loads the desktop's own X11, Wayland, GL and sound libraries when the game starts, so the
# headers of those are all the build needs of them. The C libraries are built shared, each
# finding the others beside itself; Box2D (C++) and libdeflate are linked into the program.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
source "$repo/scripts/deps/debian_sources.sh"
source "$repo/scripts/deps/build_library.sh"

# Inside the Debian 11 system: the libraries into the cache (mounted at /deps).
if [ "${1:-}" = --in-root ]; then
  key="$(g++ --version | head -1)
$(cat "$0" "$repo/scripts/deps/build_library.sh" | sha256sum)"
  prefix="$(dependency_prefix linux "$key")"
  CONFIGURE=(cmake -DCMAKE_INSTALL_LIBDIR=lib "-DCMAKE_INSTALL_RPATH=\$ORIGIN"
    -DCMAKE_BUILD_WITH_INSTALL_RPATH=ON)
  export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
  build_cmake_library libogg "$prefix" -DBUILD_SHARED_LIBS=ON -DBUILD_TESTING=OFF \
    -DINSTALL_DOCS=OFF
  build_cmake_library libvorbis "$prefix" -DBUILD_SHARED_LIBS=ON
  build_libdeflate "$prefix" libdeflate.a CFLAGS="-O2 -fPIC"
  # zlib is the system's: every Linux has libz.so.1.
  build_cmake_library libpng1.6 "$prefix" -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF
  build_cmake_library box2d "$prefix" -DBOX2D_BUILD_UNIT_TESTS=OFF -DBOX2D_BUILD_TESTBED=OFF \
    -DBOX2D_BUILD_DOCS=OFF
  build_cmake_library nlohmann-json3 "$prefix" -DJSON_BuildTests=OFF
  build_cmake_library libsdl2 "$prefix" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF \
    -DSDL_X11_SHARED=ON -DSDL_WAYLAND_SHARED=ON -DSDL_WAYLAND_LIBDECOR=OFF \
    -DSDL_PULSEAUDIO_SHARED=ON -DSDL_PIPEWIRE_SHARED=ON -DSDL_ALSA_SHARED=ON -DSDL_JACK=OFF \
    -DSDL_SNDIO=OFF -DSDL_KMSDRM=OFF -DSDL_RPATH=OFF
  build_cmake_library libsdl2-image "$prefix" -DBUILD_SHARED_LIBS=ON -DSDL2IMAGE_DEPS_SHARED=OFF \
    -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_BACKEND_STB=OFF \
    -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_XCF=OFF \
    -DSDL2IMAGE_XPM=OFF
  build_cmake_library libsdl2-mixer "$prefix" -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VORBIS=VORBISFILE \
    -DSDL2MIXER_VORBIS_VORBISFILE_SHARED=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
    -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_CMD=OFF
  echo "$prefix"
  exit 0
fi

source "$repo/scripts/deps/debian_root.sh"
bash "$repo/scripts/install_deps.sh" debootstrap dpkg-dev debian-archive-keyring

# The build system: the compiler and CMake, and the headers SDL needs to load the desktop's
# libraries (X11 and its extensions, Wayland, GL, PulseAudio, PipeWire, ALSA, D-Bus, udev).
build_packages=(
  build-essential cmake pkg-config ccache zlib1g-dev
  libx11-dev libxext-dev libxcursor-dev libxi-dev libxrandr-dev libxss-dev libxfixes-dev
  libxinerama-dev libxkbcommon-dev libwayland-dev wayland-protocols libegl1-mesa-dev
  libgl1-mesa-dev libgles2-mesa-dev libasound2-dev libpulse-dev libpipewire-0.3-dev
  libdbus-1-dev libudev-dev
)
root="$TARNWICK_DEPS_CACHE/roots/bullseye-build-$(echo "${build_packages[*]}" | sha256sum | cut -c1-16)"
trap 'unmount_debian_root "$root"' EXIT
if [ ! -f "$root.ready" ]; then
  echo "Making the Debian 11 build system in $root" >&2
  make_debian_root "$(debian_root_tarball bullseye "")" bullseye "" "$root"
  mount_debian_root "$root"
  in_debian_root "$root" apt-get update -qq >"$root.log" 2>&1 &&
    in_debian_root "$root" apt-get install -y -qq --no-install-recommends "${build_packages[@]}" \
      >>"$root.log" 2>&1 || {
    echo "Installing the build tools into $root failed; its log: $root.log" >&2
    exit 1
  }
  in_debian_root "$root" apt-get clean
  unmount_debian_root "$root"
  touch "$root.ready"
fi

# The sources are fetched here, where Debian 12's apt and dpkg-source are.
for package in "${!DEBIAN_SOURCE_VERSIONS[@]}"; do
  debian_source "$package" >/dev/null
done
mount_debian_root "$root" "$TARNWICK_DEPS_CACHE:/deps" "$repo:/tarnwick"
prefix="$(in_debian_root "$root" TARNWICK_DEPS_CACHE=/deps BUILD_JOBS="$BUILD_JOBS" \
  bash /tarnwick/scripts/deps/linux.sh --in-root)"
echo "$root"
echo "$prefix"
