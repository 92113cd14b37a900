#!/usr/bin/env bash
# Builds the game for 64-bit Windows on Debian 12 (installing what it needs): the libraries
# from Debian's sources into a cache outside the clone (scripts/deps/windows.sh), then the game,
# and makes build/windows/tarnwick-<version>-windows-x86_64.zip and ...-setup.exe.
#
#   bash scripts/build_windows.sh           # the release
#   bash scripts/build_windows.sh --tests   # the same, and the tests that run under wine
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
tests=OFF
[ "${1:-}" = --tests ] && tests=ON

bash scripts/install_windows_deps.sh
prefix="$(bash scripts/deps/windows.sh)"
version="$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\)$/\1/p' CMakeLists.txt)"
out="$repo/build/windows"
build="$out/build"
name="tarnwick-$version-windows-x86_64"
triplet=x86_64-w64-mingw32

# CMake keeps where it found each library: a build made against other dependencies starts anew.
if [ "$(cat "$build/dependencies" 2>/dev/null)" != "$prefix" ]; then
  rm -f "$build/CMakeCache.txt"
  mkdir -p "$build"
  echo "$prefix" >"$build/dependencies"
fi
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$triplet/lib/pkgconfig"
# ccache spares a developer who has it the rebuild of what has not changed; nothing needs it (a
# fresh machine's first build would only fill its cache), so without it the compiler runs alone.
launcher=""
command -v ccache >/dev/null && launcher=ccache
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$repo}"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
  -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" -DCMAKE_C_COMPILER_LAUNCHER="$launcher" \
  -DTARNWICK_BENCH=OFF -DTARNWICK_TESTS="$tests" >"$out.configure.log" 2>&1 || {
  cat "$out.configure.log" >&2
  exit 1
}
targets=(tarnwick)
[ "$tests" = ON ] && targets+=(tarnwick_windows_tests)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

# The program may import Windows' own DLLs only: everything else is linked in.
imports="$("$triplet-objdump" -p "$build/tarnwick.exe" | sed -n 's/^\s*DLL Name: //p')"
foreign="$(grep -viE '^(kernel32|user32|gdi32|winmm|imm32|ole32|oleaut32|version|advapi32|setupapi|shell32|msvcrt|ws2_32|dinput8|cfgmgr32|hid|uuid|api-ms-win-[a-z0-9-]*)\.dll$' \
  <<<"$imports" || true)"
if [ -n "$foreign" ]; then
  echo "tarnwick.exe needs DLLs that Windows does not have: $foreign" >&2
  exit 1
fi

# The zip's folder: the program, its assets, the licence and a short README.
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$stage"
"$triplet-strip" -o "$stage/tarnwick.exe" "$build/tarnwick.exe"
cp -r assets "$stage/"
cp LICENSE "$stage/"
sed "s/@VERSION@/$version/" data/windows/README.txt.in >"$stage/README.txt"
(cd "$out" && find "$name" -print | LC_ALL=C sort | zip -q -X -D "$name.zip" -@)

# The installer installs the same files; its uninstaller removes exactly those, then the folders
# they leave empty, deepest first.
lists="$out/installer"
mkdir -p "$lists"
(
  cd "$stage"
  find . -type f | LC_ALL=C sort | sed 's|^\./||' | while read -r file; do
    echo "SetOutPath \"\$INSTDIR\\$(dirname "$file" | sed 's|^\.$||; s|/|\\|g')\""
    echo "File \"$stage/$file\""
  done
) >"$lists/install.nsh"
(
  cd "$stage"
  find . -type f | LC_ALL=C sort | sed 's|^\./||; s|/|\\|g' | while read -r file; do
    echo "Delete \"\$INSTDIR\\$file\""
  done
  find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g' | while read -r dir; do
    echo "RMDir \"\$INSTDIR\\$dir\""
  done
) >"$lists/uninstall.nsh"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$lists" \
  -DICON="$build/windows/tarnwick.ico" -DOUTFILE="$out/$name-setup.exe" data/windows/installer.nsi
echo "$out/$name.zip"
echo "$out/$name-setup.exe"
