"""Measures the encoded sounds and fails if one breaks the game's limits.

usage: check_sounds.py SCRATCH_DIR LOOP.ogg... -- EFFECT.ogg:MAX_SECONDS... --fight BLOW.ogg SPIN.ogg

Decodes every file as the game would hear it, prints duration, peak, integrated loudness (LUFS)
and true peak (dBTP), and for the music loops also the loop seam: the sample step across the
join (end -> start) compared with the steps inside the tune, and the loudness just before and
after the join (a gap shows as a dip). It writes SCRATCH_DIR/<name>_seam.wav (the last and first
seconds joined) for a spectrogram.

The game mixes the music at full volume and the effects at half. For a fight it also prints how
a blow's (the hit sound's) peak in the mix compares with each tune's, and the loudest the mix
gets when a blow, or the heavy weapon's spin with its blows, lands on the tune at any mixer
chunk: the mixer starts a sound at the start of a chunk, and the loops last whole chunks, so
these are all the ways the effects can meet a tune.
"""
import os
import subprocess
import sys

import numpy as np

from loudness import integrated_lufs, true_peak_dbtp

CHANNELS = 2
TRUE_PEAK_LIMIT_DBTP = -1.0
# The music leaves room under it for the effects, and is loud enough to carry the game.
MUSIC_TRUE_PEAK_LIMIT_DBTP = -6.5
MUSIC_LOUDNESS_RANGE_LUFS = (-19.0, -14.0)
# The game's mixer: effects play at volume 64 of 128, in chunks of 4096 sample frames.
EFFECT_GAIN = 0.5
MIXER_CHUNK_FRAMES = 4096
# A blow is heard when its peak in the mix comes near the music's loudest moments...
BLOW_UNDER_MUSIC_LIMIT_DB = -1.5
# ...and the mix of the fight and the music keeps this far from full scale.
MIX_PEAK_LIMIT_DBFS = -1.0
LOOP_SECONDS_RANGE = (45.0, 90.0)
# A step across the join larger than the largest step inside the tune would be a click.
SEAM_STEP_LIMIT = 1.0
# Loudness in the windows either side of the join, against the tune's own quiet moments: a gap
# or a cut tail would be quieter there than nearly anywhere inside the tune.
SEAM_WINDOW_SECONDS = 0.05
QUIET_PERCENTILE = 5
SEAM_GAP_MARGIN_DB = -6.0
SEAM_EXCERPT_SECONDS = 3.0


def decode(path):
    raw = subprocess.run(["sox", path, "-t", "f32", "-"], check=True, capture_output=True).stdout
    rate = int(subprocess.run(["soxi", "-r", path], check=True, capture_output=True, text=True).stdout)
    channels = int(subprocess.run(["soxi", "-c", path], check=True, capture_output=True, text=True).stdout)
    return np.frombuffer(raw, dtype="<f4").reshape(-1, channels).astype(np.float64), rate


def db(value):
    return 20.0 * np.log10(max(value, 1e-12))


def rms(samples):
    return float(np.sqrt(np.mean(samples ** 2)))


def describe(path, samples, rate):
    """Prints the file's figures; returns its length, integrated loudness and true peak."""
    seconds = len(samples) / rate
    loudness, true_peak = integrated_lufs(samples, rate), true_peak_dbtp(samples)
    print(f"{os.path.basename(path)}: {seconds:.3f} s, {rate} Hz, {samples.shape[1]} ch, "
          f"{loudness:.1f} LUFS, true peak {true_peak:.2f} dBTP, "
          f"peak {db(np.abs(samples).max()):.2f} dBFS, {os.path.getsize(path) / 1024:.0f} KiB")
    return seconds, loudness, true_peak


def seam_figures(samples, rate):
    """Step across the join relative to the largest step inside, and the loudness either side
    relative to the tune's quiet windows (negative: quieter than almost anything in the tune)."""
    inner_step = np.abs(np.diff(samples, axis=0)).max()
    join_step = np.abs(samples[0] - samples[-1]).max()
    window = int(SEAM_WINDOW_SECONDS * rate)
    windows = samples[:len(samples) // window * window].reshape(-1, window, CHANNELS)
    quiet = np.percentile(np.sqrt(np.mean(windows ** 2, axis=(1, 2))), QUIET_PERCENTILE)
    before, after = rms(samples[-window:]), rms(samples[:window])
    return join_step / inner_step, db(before / quiet), db(after / quiet)


def write_seam_excerpt(samples, rate, path):
    half = int(SEAM_EXCERPT_SECONDS * rate)
    excerpt = np.concatenate([samples[-half:], samples[:half]])
    subprocess.run(["sox", "-t", "f32", "-r", str(rate), "-c", str(CHANNELS), "-",
                    "-b", "16", path], input=excerpt.astype("<f4").tobytes(), check=True)


def check_loop(path, scratch):
    samples, rate = decode(path)
    seconds, loudness, true_peak = describe(path, samples, rate)
    step, before_db, after_db = seam_figures(samples, rate)
    print(f"  seam: step {step:.3f} of the largest inner step; loudness before {before_db:.1f} dB, "
          f"after {after_db:.1f} dB (relative to the tune's quietest {QUIET_PERCENTILE} %)")
    name = os.path.splitext(os.path.basename(path))[0]
    write_seam_excerpt(samples, rate, os.path.join(scratch, f"{name}_seam.wav"))
    problems = []
    if samples.shape[1] != CHANNELS:
        problems.append("not stereo")
    if not LOOP_SECONDS_RANGE[0] <= seconds <= LOOP_SECONDS_RANGE[1]:
        problems.append(f"loop length {seconds:.1f} s")
    if true_peak > MUSIC_TRUE_PEAK_LIMIT_DBTP:
        problems.append(f"true peak {true_peak:.2f} dBTP leaves no room for the effects")
    if not MUSIC_LOUDNESS_RANGE_LUFS[0] <= loudness <= MUSIC_LOUDNESS_RANGE_LUFS[1]:
        problems.append(f"loudness {loudness:.1f} LUFS")
    if step > SEAM_STEP_LIMIT or min(before_db, after_db) < SEAM_GAP_MARGIN_DB:
        problems.append("audible seam")
    return problems


def check_effect(spec):
    path, max_seconds = spec.rsplit(":", 1)
    samples, rate = decode(path)
    seconds, _, true_peak = describe(path, samples, rate)
    problems = []
    if seconds > float(max_seconds):
        problems.append(f"{seconds:.3f} s is longer than {max_seconds} s")
    if true_peak > TRUE_PEAK_LIMIT_DBTP:
        problems.append(f"true peak {true_peak:.2f} dBTP")
    return problems


def effects_track(placements):
    """The effects as the mixer adds them, at their volume: (samples, starting chunk) pairs."""
    length = max(chunk * MIXER_CHUNK_FRAMES + len(samples) for samples, chunk in placements)
    track = np.zeros((length, CHANNELS))
    for samples, chunk in placements:
        start = chunk * MIXER_CHUNK_FRAMES
        track[start:start + len(samples)] += samples * EFFECT_GAIN
    return track


def loudest_on(tune, track):
    """The mix's peak (dBFS) when the effects start at the worst chunk of the looping tune."""
    wrapped = np.concatenate([tune, tune[:len(track)]])
    return db(max(np.abs(wrapped[start:start + len(track)] + track).max()
                  for start in range(0, len(tune), MIXER_CHUNK_FRAMES)))


def check_fight(blow_path, spin_path, loops):
    """A blow's peak against each tune's, and the mix's peak for one blow and for a heavy spin
    (its whoosh with a blow starting in each of its chunks) landing anywhere on the tune. Blows
    starting in the same chunk (one strike on several foes) are one blow here, as the game
    hears them: it plays a sound begun twice on the same sample once."""
    blow, _ = decode(blow_path)
    spin, _ = decode(spin_path)
    blow_peak = true_peak_dbtp(blow * EFFECT_GAIN)
    spin_chunks = -(-len(spin) // MIXER_CHUNK_FRAMES)
    fights = {
        "one blow": effects_track([(blow, 0)]),
        "a spin": effects_track([(spin, 0)] + [(blow, chunk) for chunk in range(spin_chunks)]),
    }
    problems = []
    for path in loops:
        tune, _ = decode(path)
        under = blow_peak - true_peak_dbtp(tune)
        peaks = {name: loudest_on(tune, track) for name, track in fights.items()}
        print(f"on {os.path.basename(path)}: a blow peaks {under:+.1f} dB against the music; "
              f"the mix at most " + ", ".join(f"{p:.2f} dBFS with {n}" for n, p in peaks.items()))
        if under < BLOW_UNDER_MUSIC_LIMIT_DB:
            problems.append(f"a blow is lost {-under:.1f} dB under {path}")
        problems += [f"{name} on {path} reaches {peak:.2f} dBFS"
                     for name, peak in peaks.items() if peak > MIX_PEAK_LIMIT_DBFS]
    return problems


def main():
    scratch, *rest = sys.argv[1:]
    blow, spin = rest[rest.index("--fight") + 1:]
    rest = rest[:rest.index("--fight")]
    split = rest.index("--") if "--" in rest else len(rest)
    loops, effects = rest[:split], rest[split + 1:]
    failures = []
    for path in loops:
        failures += [f"{path}: {p}" for p in check_loop(path, scratch)]
    for spec in effects:
        failures += [f"{spec}: {p}" for p in check_effect(spec)]
    failures += check_fight(blow, spin, loops)
    for failure in failures:
        print(f"check_sounds: {failure}", file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
