"""Loudness and true peak as broadcast meters measure them (ITU-R BS.1770-4).

integrated_lufs: K-weighting (a high shelf for the head's effect, then a high-pass), mean square
per channel over 400 ms blocks every 100 ms, summed over the two front channels, then gated:
blocks under -70 LUFS are dropped, then blocks 10 LU under the loudness of the rest.
true_peak_dbtp: the largest sample after 4x oversampling, which catches the peaks between
samples that a converter or a resampler would rebuild.
"""
import numpy as np
from scipy import signal

BLOCK_SECONDS = 0.4
STEP_SECONDS = 0.1
ABSOLUTE_GATE_LUFS = -70.0
RELATIVE_GATE_LU = -10.0
LOUDNESS_OFFSET = -0.691
OVERSAMPLING = 4

# The K-weighting filter's two stages as analogue prototypes (centre frequency in Hz, gain in
# dB, Q), turned into biquads for any sample rate by the bilinear transform.
SHELF_HZ, SHELF_GAIN_DB, SHELF_Q = 1681.974450955533, 3.999843853973347, 0.7071752369554196
SHELF_BAND_EXPONENT = 0.4996667741545416
HIGHPASS_HZ, HIGHPASS_Q = 38.13547087602444, 0.5003270373238773


def k_weighting(rate):
    """The two biquads (b, a) of the K-weighting filter at `rate`."""
    k = np.tan(np.pi * SHELF_HZ / rate)
    vh = 10.0 ** (SHELF_GAIN_DB / 20.0)
    vb = vh ** SHELF_BAND_EXPONENT
    a0 = 1.0 + k / SHELF_Q + k * k
    shelf = ([(vh + vb * k / SHELF_Q + k * k) / a0, 2.0 * (k * k - vh) / a0,
              (vh - vb * k / SHELF_Q + k * k) / a0],
             [1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / SHELF_Q + k * k) / a0])
    k = np.tan(np.pi * HIGHPASS_HZ / rate)
    a0 = 1.0 + k / HIGHPASS_Q + k * k
    highpass = ([1.0, -2.0, 1.0],
                [1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / HIGHPASS_Q + k * k) / a0])
    return shelf, highpass


def block_powers(samples, rate):
    """Mean square of the K-weighted signal in every 400 ms block, summed over the channels. A
    sound shorter than one block is measured as one block, padded with silence."""
    block, step = int(BLOCK_SECONDS * rate), int(STEP_SECONDS * rate)
    if len(samples) < block:
        samples = np.concatenate([samples, np.zeros((block - len(samples), samples.shape[1]))])
    weighted = samples
    for b, a in k_weighting(rate):
        weighted = signal.lfilter(b, a, weighted, axis=0)
    squares = np.concatenate([np.zeros((1, samples.shape[1])), np.cumsum(weighted ** 2, axis=0)])
    starts = np.arange(0, len(samples) - block + 1, step)
    return ((squares[starts + block] - squares[starts]) / block).sum(axis=1)


def lufs(power):
    return LOUDNESS_OFFSET + 10.0 * np.log10(np.maximum(power, 1e-20))


def integrated_lufs(samples, rate):
    powers = block_powers(samples, rate)
    powers = powers[lufs(powers) > ABSOLUTE_GATE_LUFS]
    if len(powers) == 0:
        return float("-inf")
    powers = powers[lufs(powers) > lufs(powers.mean()) + RELATIVE_GATE_LU]
    return float(lufs(powers.mean()))


def true_peak_dbtp(samples):
    oversampled = signal.resample_poly(samples, OVERSAMPLING, 1, axis=0)
    return float(20.0 * np.log10(max(np.abs(oversampled).max(), 1e-12)))
