#!/usr/bin/env bash
# Counts the frames the real game presents per second on its title, on a virtual display
# without vertical sync (SDL's software renderer), to check the frame pacing: the goal is 60.0.
# A small library loaded with LD_PRELOAD notes when each present returns; the game is not
# changed. Builds the game first. Usage: scripts/count_presents.sh [seconds, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
bash scripts/install_deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target tarnwick >/dev/null

work="$(mktemp -d)"
game=""
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
cc -O2 -shared -fPIC -o "$work/present_timestamps.so" scripts/present_timestamps.c -ldl

xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'echo $$ > "$0/game.pid"; exec "$@"' "$work" \
  env SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy PRESENT_TIMESTAMPS="$work/presents" \
  LD_PRELOAD="$work/present_timestamps.so" build/release/tarnwick >"$work/log" 2>&1 &
runner=$!
# The title is built once every asset is loaded; its fade-in follows.
until grep -q "^Sprite created!$" "$work/log" 2>/dev/null; do
  kill -0 "$runner" 2>/dev/null || { cat "$work/log" >&2; exit 1; }
  sleep 0.2
done
game="$(cat "$work/game.pid")"
sleep "$((seconds + 3))"
kill -TERM "$game"
wait "$runner" || true
game=""

# Counted from the 100th present (60 black frames and the title's fade-in come before it) for
# `seconds` seconds.
awk -v seconds="$seconds" -v skipped=100 '
  NR >= skipped { at[NR - skipped] = $1 / 1e9; n = NR - skipped + 1 }
  END {
    if (n < 2 || at[n - 1] - at[0] < seconds) { print "too few presents recorded" > "/dev/stderr"; exit 1 }
    count = 0; shortest = 1; longest = 0; late = 0
    for (i = 1; i < n && at[i] - at[0] < seconds; i++) {
      gap = at[i] - at[i - 1]
      if (gap < shortest) shortest = gap
      if (gap > longest) longest = gap
      if (gap > 1.5 / 60) late++
      count++
    }
    # The rate over the span the counted frames took, not over the nominal seconds, which
    # would drop the frame that ends exactly on the last second.
    printf "%.3f presents per second over %d s of the title (%d frames, %.2f to %.2f ms apart, %d over 25 ms)\n",
      count / (at[count] - at[0]), seconds, count, shortest * 1000, longest * 1000, late
  }' "$work/presents"
echo "load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
