"""Measures the encoded sounds and fails if one breaks the game's limits.

usage: check_sounds.py SCRATCH_DIR LOOP.ogg... -- EFFECT.ogg:MAX_SECONDS...

Decodes every file as the game would hear it, prints duration, peak and loudness, and for the
music loops also the loop seam: the sample step across the join (end -> start) compared with the
steps inside the tune, and the loudness just before and after the join (a gap shows as a dip).
It writes SCRATCH_DIR/<name>_seam.wav (the last and first seconds joined) for a spectrogram.
"""
import os
import subprocess
import sys

import numpy as np

CHANNELS = 2
PEAK_LIMIT_DBFS = -1.0
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
    seconds = len(samples) / rate
    peak_db = db(np.abs(samples).max())
    print(f"{os.path.basename(path)}: {seconds:.3f} s, {rate} Hz, {samples.shape[1]} ch, "
          f"peak {peak_db:.2f} dBFS, RMS {db(rms(samples)):.1f} dBFS, "
          f"{os.path.getsize(path) / 1024:.0f} KiB")
    return seconds, peak_db


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
    seconds, peak_db = describe(path, samples, rate)
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
    if peak_db > PEAK_LIMIT_DBFS:
        problems.append(f"peak {peak_db:.2f} dBFS")
    if step > SEAM_STEP_LIMIT or min(before_db, after_db) < SEAM_GAP_MARGIN_DB:
        problems.append("audible seam")
    return problems


def check_effect(spec):
    path, max_seconds = spec.rsplit(":", 1)
    samples, rate = decode(path)
    seconds, peak_db = describe(path, samples, rate)
    problems = []
    if seconds > float(max_seconds):
        problems.append(f"{seconds:.3f} s is longer than {max_seconds} s")
    if peak_db > PEAK_LIMIT_DBFS:
        problems.append(f"peak {peak_db:.2f} dBFS")
    return problems


def main():
    scratch, *rest = sys.argv[1:]
    split = rest.index("--") if "--" in rest else len(rest)
    loops, effects = rest[:split], rest[split + 1:]
    failures = []
    for path in loops:
        failures += [f"{path}: {p}" for p in check_loop(path, scratch)]
    for spec in effects:
        failures += [f"{spec}: {p}" for p in check_effect(spec)]
    for failure in failures:
        print(f"check_sounds: {failure}", file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
