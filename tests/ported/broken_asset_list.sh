#!/usr/bin/env bash
# Sourced by the tests of the other builds (scripts/test_windows.sh, scripts/test_linux.sh):
# breaks the asset list in a copy of the game's folder and checks that this build's game and the
# other build end on it the same way: status -1, the same log and the same message.
#
#   broken_asset_list_ends_alike DIR LINUX_PROGRAM OTHER_NAME COMMAND...
#
# DIR is the copy; this build's LINUX_PROGRAM and COMMAND (the other build, started so that it
# reads DIR's assets) each run on a virtual display open to every client, which does not reset
# when a client leaves (wine's own processes come and go as the game starts). Lines of standard
# error that match $PLATFORM_NOISE (the platform's own chatter: wine's, or that of the system's
# sound library, whose wording differs between its releases) are left out.
broken_asset_list_ends_alike() {
  local dir="$1" linux_program="$2" other="$3"
  shift 3
  echo "{ not json" >"$dir/assets/assets_list.json"
  local linux_status=0 other_status=0 server="-ac -noreset"
  (cd "$dir" && xvfb-run -a -s "$server" "$linux_program" >linux.log 2>linux.err) || linux_status=$?
  (cd "$dir" && xvfb-run -a -s "$server" "$@" >other.log 2>other.err) || other_status=$?
  local pointers='s/^Map created -\?[0-9]*\./Map created …./'
  if [ "$linux_status" != 255 ] || [ "$other_status" != "$linux_status" ] ||
    ! diff <(sed "$pointers" "$dir/linux.log") <(sed "$pointers" "$dir/other.log") ||
    ! diff <(grep -v "${PLATFORM_NOISE:-^$}" "$dir/linux.err") \
      <(grep -v "${PLATFORM_NOISE:-^$}" "$dir/other.err"); then
    echo "The broken asset list ends the games differently: status $linux_status here," \
      "$other_status on $other" >&2
    return 1
  fi
  echo "Both end with status $linux_status and:"
  grep -v "${PLATFORM_NOISE:-^$}" "$dir/other.err"
}
