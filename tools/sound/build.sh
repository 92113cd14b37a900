#!/usr/bin/env bash
# Regenerates the game's music and sound effects (assets/sound/*.ogg) from the ABC tunes and the
# sox recipes in this directory, byte for byte: fluidsynth renders offline and deterministically,
# sox -R pins its noise generator, and every Ogg stream gets a fixed serial number.
# Afterwards check_sounds.py measures the results (length, loudness, true peak, loop seam, a blow
# landing on each tune) and fails the build if one breaks the game's limits;
# tools/out/sound/*_seam.png show each loop's join.
set -euo pipefail
cd "$(dirname "$0")/../.."

readonly SOURCES=tools/sound
readonly SCRATCH=tools/out/sound
readonly ASSETS=assets/sound
readonly SOUNDFONT=/usr/share/sounds/sf2/FluidR3_GM.sf2
readonly PYTHON=/usr/bin/python3
readonly RATE=40960            # Hz: the game's mixer rate, so nothing is resampled when loading
readonly OGG_QUALITY=4         # ~100 kbit/s stereo: clean, and all five files stay near 3 MiB
readonly SYNTH_GAIN=0.4        # fluidsynth master gain: loud, yet far from full scale in float
# The game plays music at full volume and effects at half (-6 dB), all in one mix. The music is
# scaled to this peak, then its few louder drum hits are limited to the ceiling: that leaves room
# for a blow as loud as the music's loudest moments without the sum reaching -1 dBFS.
readonly MUSIC_PEAK_DBFS=-4.5
readonly MUSIC_CEILING_DBFS=-8
readonly BLOW_PEAK_DBFS=-2.5   # about -8 dBFS in the mix once encoded
readonly SPIN_PEAK_DBFS=-9     # the spin's whoosh lies under the blows it carries
readonly DAMAGE_MAX_SECONDS=0.4

# Encodes a 16-bit WAV from the scratch directory to assets/sound/NAME.ogg.
encode_ogg() {
  local name=$1 serial=$2
  oggenc -Q -q "$OGG_QUALITY" -s "$serial" -o "$ASSETS/$name.ogg" "$SCRATCH/$name.wav"
}

# Renders an ABC tune once, with its ring-out, and folds it into a loop of exactly LOOP_SECONDS
# (make_loop.py explains why that joins without a click). ROOM_SIZE sets the reverb's size:
# bigger for the calm title, tighter for the fights.
render_tune_loop() {
  local name=$1 loop_seconds=$2 room_size=$3 serial=$4
  abc2midi "$SOURCES/$name.abc" -silent -o "$SCRATCH/$name.mid" >/dev/null
  fluidsynth -q -n -i -r "$RATE" -g "$SYNTH_GAIN" -o synth.reverb.room-size="$room_size" \
    -T raw -O float -F "$SCRATCH/$name.f32" "$SOUNDFONT" "$SCRATCH/$name.mid" >/dev/null
  "$PYTHON" "$SOURCES/make_loop.py" "$SCRATCH/$name.f32" "$RATE" "$loop_seconds" \
    "$MUSIC_PEAK_DBFS" "$MUSIC_CEILING_DBFS" "$SCRATCH/$name.wav"
  encode_ogg "$name" "$serial"
}

# Synthesises one mono layer of an effect into the scratch directory; the rest of the arguments
# are sox's synth and effect chain.
effect_layer() {
  local layer=$1
  shift
  sox -R -n -r "$RATE" -c 1 "$SCRATCH/$layer.wav" "$@"
}

# Mixes the named layers into a stereo effect of LENGTH seconds whose last FADE seconds die to
# silence and whose peak is PEAK dBFS, after the remaining arguments (a sox effect chain, may be
# empty).
mix_effect() {
  local name=$1 length=$2 fade=$3 peak=$4 layers=$5
  shift 5
  local inputs=()
  for layer in $layers; do inputs+=("$SCRATCH/$layer.wav"); done
  sox -R -m "${inputs[@]}" -c 2 -b 16 "$SCRATCH/$name.wav" "$@" \
    trim 0 "$length" fade 0 "$length" "$fade" norm "$peak"
}

# The hit: a falling sine thump for weight, a 50 ms burst of bright noise for the crack, and
# low filtered noise for the body, roughened together. A long logarithmic fade cut short gives
# the fast exponential-like decay of a blow.
make_damage() {
  effect_layer damage_thump synth 0.6 sine 180-50 fade l 0.001 0.6 0.59 trim 0 0.3
  effect_layer damage_crack synth 0.3 whitenoise vol 0.5 highpass 1500 lowpass 7000 \
    fade q 0.0005 0.05 0.048
  effect_layer damage_body synth 0.5 brownnoise vol 0.5 highpass 120 lowpass 1400 \
    fade l 0.001 0.5 0.49 trim 0 0.3 gain 6
  mix_effect damage 0.3 0.03 "$BLOW_PEAK_DBFS" "damage_thump damage_crack damage_body" overdrive 6
  encode_ogg damage 3104
}

# The heavy weapon's spin: two sweeps of band-passed noise (the blade passing in front, then the
# longer pass round the back), each bent up in pitch and down again, with a tremolo flutter of
# the spinning blade, over a faint low hum for the weapon's weight.
make_spin_whoosh() {
  effect_layer spin_front synth 0.6 pinknoise vol 0.5 bandpass 500 1.5q \
    bend -f 50 0,1400,0.3 0,-1200,0.3 tremolo 16 40 fade h 0.3 0.6 0.3
  effect_layer spin_back synth 0.8 pinknoise vol 0.5 bandpass 400 1.5q \
    bend -f 50 0,1500,0.4 0,-1300,0.4 tremolo 12 50 fade h 0.35 0.8 0.45 pad 0.5 0
  effect_layer spin_hum synth 1.3 sine 70-110 tremolo 3 80 fade h 0.4 1.3 0.5 vol 0.06
  mix_effect serval_cat_atk_long 1.3 0.05 "$SPIN_PEAK_DBFS" "spin_front spin_back spin_hum"
  encode_ogg serval_cat_atk_long 3105
}

# Draws the seam excerpts that check_sounds.py wrote (the loop's last and first seconds).
draw_seams() {
  local name
  for name in "$@"; do
    sox "$SCRATCH/${name}_seam.wav" -n remix 1,2 spectrogram -x 1000 -y 300 -z 80 \
      -t "$name: loop end | loop start" -o "$SCRATCH/${name}_seam.png"
  done
}

main() {
  mkdir -p "$SCRATCH" "$ASSETS"
  # Loop lengths follow from each tune's bars and tempo (see the head of each .abc file).
  render_tune_loop title 60 0.6 3101
  render_tune_loop fight_bgm 64 0.3 3102
  render_tune_loop last_boss 60 0.4 3103
  make_damage
  make_spin_whoosh
  "$PYTHON" "$SOURCES/check_sounds.py" "$SCRATCH" \
    "$ASSETS"/{title,fight_bgm,last_boss}.ogg -- \
    "$ASSETS/damage.ogg:$DAMAGE_MAX_SECONDS" "$ASSETS/serval_cat_atk_long.ogg:1.4" \
    --fight "$ASSETS/damage.ogg" "$ASSETS/serval_cat_atk_long.ogg"
  draw_seams title fight_bgm last_boss
}

main "$@"
