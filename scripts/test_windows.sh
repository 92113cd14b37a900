#!/usr/bin/env bash
# The Windows release, proven under wine: builds it (scripts/build_windows.sh, with the tests
# that run on Windows), runs those tests under wine, drives the zip's tarnwick.exe on a virtual
# display as the Linux game is driven and holds it to the Linux build in LINUX_BUILD (default
# build/test, whose objects it reuses), checks that a broken asset list ends both the same way,
# and installs, starts and uninstalls the game silently with its installer.
#
#   bash scripts/test_windows.sh [LINUX_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
linux_build="$(realpath -m "${1:-build/test}")"
started=$SECONDS
source tests/ported/broken_asset_list.sh

bash scripts/build_windows.sh --tests >/dev/null
out="$repo/build/windows"
version="$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\)$/\1/p' CMakeLists.txt)"
name="tarnwick-$version-windows-x86_64"

# A wine of its own under the build directory, made once; without Mono and Gecko, which wineboot
# would otherwise try to download.
export TARNWICK_PORTED_GAME="$repo/tests/windows/wine_game.sh"
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1
  wineserver --wait
fi

echo "== The tests that run on Windows, under wine"
# No sound card under wine (WASAPI fails): the tests choose SDL's dummy or disk driver.
# The game's log, which the tests leave on standard output, is shown only when a test fails.
SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy \
  wine "$out/build/tarnwick_windows_tests.exe" --gtest_brief=1 >"$out/tests.log" 2>&1 || {
  cat "$out/tests.log" >&2
  exit 1
}
grep -E '^\[  (PASSED|SKIPPED) ' "$out/tests.log"

echo "== The zip's tarnwick.exe, unpacked where a player might, held to the Linux game"
cmake --build "$linux_build" -j"$(nproc)" --target tarnwick_ported_tests >/dev/null
players="$out/players/Zoë/Mes jeux"
rm -rf "$out/players"
mkdir -p "$players"
unzip -q "$out/$name.zip" -d "$players"
TARNWICK_WINDOWS_GAME="$players/$name/tarnwick.exe" "$linux_build/tarnwick_ported_tests"

echo "== A broken asset list: the same message and status as on Linux"
broken="$out/broken"
rm -rf "$broken"
cp -r "$players/$name" "$broken"
# wine's desktop process says so when the virtual display ends under it.
SDL_AUDIODRIVER=dummy PLATFORM_NOISE='^X connection to :[0-9]* broken' \
  broken_asset_list_ends_alike "$broken" "$linux_build/tarnwick" Windows wine tarnwick.exe

echo "== The installer: silent install, the installed game, silent uninstall"
drive="$WINEPREFIX/drive_c"
# Everything on the Windows drive but the temporary files, before and after.
drive_files() {
  find "$drive" -path "$drive/users/*/Temp" -prune -o -path "$drive/windows/temp" -prune -o -print |
    LC_ALL=C sort
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick'
before="$(drive_files)"
wine "$out/$name-setup.exe" /S
wineserver --wait
installed="$drive/Program Files/Tarnwick"
[ -f "$installed/tarnwick.exe" ] && [ -f "$installed/assets/assets_list.json" ] &&
  [ -f "$installed/uninstall.exe" ] || { echo "The installer did not install the game" >&2; exit 1; }
[ -n "$(find "$drive" -name Tarnwick.lnk -path '*Start Menu*')" ] ||
  { echo "The installer made no Start-menu shortcut" >&2; exit 1; }
listing="$(wine reg query "$uninstall_key" /reg:64 | tr -d '\r')"
for value in "DisplayName.*Tarnwick" "DisplayVersion.*$version" "Publisher.*Tarnwick developers" \
  'DisplayIcon.*tarnwick\.exe' 'UninstallString.*uninstall\.exe'; do
  grep -q "$value" <<<"$listing" || {
    echo "The system's list of programs lacks $value: $listing" >&2
    exit 1
  }
done
TARNWICK_WINDOWS_GAME="$installed/tarnwick.exe" "$linux_build/tarnwick_ported_tests" \
  --gtest_filter='*SameTitle*' --gtest_brief=1
wine "$installed/uninstall.exe" /S
wineserver --wait
if ! diff <(echo "$before") <(drive_files) >&2; then
  echo "The uninstaller left files behind or removed others" >&2
  exit 1
fi
if wine reg query "$uninstall_key" /reg:64 >/dev/null 2>&1; then
  echo "The uninstaller left the game in the system's list of programs" >&2
  exit 1
fi
echo "Windows release tested in $((SECONDS - started)) s"
