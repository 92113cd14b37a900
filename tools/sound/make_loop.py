"""Turns one rendered pass of a tune into a seamless loop.

usage: make_loop.py RENDER.f32 RATE LOOP_SECONDS PEAK_DBFS CEILING_DBFS OUT.wav

RENDER.f32 is fluidsynth's raw stereo float output for a single pass of the tune: the musical
period followed by the ring-out (reverb tails and note releases after the last bar). Folding that
ring-out back onto the head (overlap-add) gives exactly what the mixer plays when it loops: the
end of the tune keeps sounding under its own beginning, so the join has no click, no gap and no
cut tail, and nothing has to be faded.

The loop is scaled so that its peak is at PEAK_DBFS, then its rare loudest moments (drum hits)
are held under CEILING_DBFS by a limiter that runs round the loop, so the join stays seamless.
That headroom is where a blow landing on the music fits without the mix reaching full scale.
"""
import sys
import wave

import numpy as np
from scipy import ndimage

CHANNELS = 2
# The render must have died away by its very end, or the fold would lose part of the tail.
RING_OUT_CHECK_SECONDS = 0.25
RING_OUT_FLOOR_DB = -70.0
# The last bar must still be playing: a period longer than the tune would leave silence at the
# loop point.
LAST_BAR_CHECK_SECONDS = 0.5
LAST_BAR_MIN_DB = -30.0
PCM_FULL_SCALE = 32767
# The limiter's gain follows the loudest sample within this many seconds either side: it falls
# before a peak arrives and comes back after it, with no sudden step.
LIMITER_REACH_SECONDS = 0.005


def read_render(path):
    return np.fromfile(path, dtype="<f4").reshape(-1, CHANNELS).astype(np.float64)


def db(value):
    return 20.0 * np.log10(max(value, 1e-12))


def peak(samples):
    return float(np.abs(samples).max())


def period_in_samples(rate, seconds):
    samples = rate * seconds
    if abs(samples - round(samples)) > 1e-9:
        sys.exit(f"make_loop: {seconds} s is not a whole number of samples at {rate} Hz")
    return int(round(samples))


def check_render(render, period, rate):
    if len(render) <= period:
        sys.exit("make_loop: the render is shorter than the loop period (no ring-out)")
    loudest = peak(render)
    tail = render[-int(RING_OUT_CHECK_SECONDS * rate):]
    if db(peak(tail) / loudest) > RING_OUT_FLOOR_DB:
        sys.exit("make_loop: the render ends while still sounding; its tail would be cut")
    last_bar = render[period - int(LAST_BAR_CHECK_SECONDS * rate):period]
    if db(peak(last_bar) / loudest) < LAST_BAR_MIN_DB:
        sys.exit("make_loop: the end of the period is silent; is the loop length right?")


def fold_into_period(render, period):
    """Overlap-adds every further period of the render (the ring-out) onto the first one."""
    loop = np.zeros((period, CHANNELS))
    for start in range(0, len(render), period):
        piece = render[start:start + period]
        loop[:len(piece)] += piece
    return loop


def limit_round_the_loop(loop, ceiling, rate):
    """Scales every sample by a gain that is at most ceiling / |peak| wherever a peak is near:
    the least gain needed within the reach, smoothed over the same reach (both windows odd and
    centred, so each smoothed gain is a mean of values no larger than the gain needed there)."""
    window = 2 * int(LIMITER_REACH_SECONDS * rate) + 1
    loudest = np.abs(loop).max(axis=1)
    needed = np.minimum(1.0, ceiling / np.maximum(loudest, 1e-12))
    gain = ndimage.minimum_filter1d(needed, window, mode="wrap")
    gain = ndimage.uniform_filter1d(gain, window, mode="wrap")
    return loop * gain[:, None]


def write_pcm16(path, samples, rate):
    pcm = np.round(samples * PCM_FULL_SCALE).astype("<i2")
    with wave.open(path, "wb") as out:
        out.setnchannels(CHANNELS)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(pcm.tobytes())


def main():
    render_path, rate, seconds, peak_dbfs, ceiling_dbfs, out_path = sys.argv[1:]
    rate = int(rate)
    render = read_render(render_path)
    period = period_in_samples(rate, float(seconds))
    check_render(render, period, rate)
    loop = fold_into_period(render, period)
    loop *= 10.0 ** (float(peak_dbfs) / 20.0) / peak(loop)
    loop = limit_round_the_loop(loop, 10.0 ** (float(ceiling_dbfs) / 20.0), rate)
    write_pcm16(out_path, loop, rate)


if __name__ == "__main__":
    main()
