#!/usr/bin/env python3
"""Synthesises Pictaro's event sounds (page turn, fill plop, spray hiss, eraser rub).

Usage: sndsynth.py NAME OUT.wav      NAME is one of: s1 s3 sndfuse sndstir

Noise comes from Python's seeded Mersenne Twister, not from sox, so every run gives
the same samples. sox only filters (raw float32 in and out, -R -D: no dither, no
randomness); envelopes, loop joins and the 16-bit WAV (plain 44-byte header, no
metadata) are done here. Needs python3 (standard library only) and sox.
"""

import math
import random
import struct
import subprocess
import sys
import wave

RATE = 22050
# Filters start from rest; this much extra noise is run through first and dropped
# so every sound begins with the filters already settled.
PRE_ROLL = int(0.2 * RATE)


def secs(t):
    return int(round(t * RATE))


def noise(n, seed):
    rng = random.Random(seed)
    # Kept well below full scale so resonant filters never clip in sox.
    return [rng.uniform(-0.25, 0.25) for _ in range(n)]


def sox_filter(samples, *effects):
    raw = ["-t", "raw", "-r", str(RATE), "-e", "floating-point", "-b", "32", "-c", "1"]
    data = struct.pack("<%df" % len(samples), *samples)
    out = subprocess.run(
        ["sox", "-R", "-D", "-V1", *raw, "-", *raw, "-", *effects],
        input=data,
        capture_output=True,
        check=True,
    ).stdout
    return list(struct.unpack("<%df" % (len(out) // 4), out))


def filtered_noise(n, seed, *effects):
    return sox_filter(noise(n + PRE_ROLL, seed), *effects)[PRE_ROLL:]


def seamless(y, length, xfade):
    """Turn len(y) == length + xfade samples into a loop of `length` samples.

    The tail beyond `length` is faded into the head with an equal-power curve, so
    the last sample is followed (on wrap-around) by y[length], its true successor,
    and the noise level stays constant through the join.
    """
    assert len(y) >= length + xfade
    z = list(y[:length])
    for i in range(xfade):
        a = 0.5 * math.pi * i / xfade
        z[i] = y[i] * math.sin(a) + y[length + i] * math.cos(a)
    return z


def rms(x):
    return math.sqrt(sum(v * v for v in x) / len(x))


def write_wav(path, samples, peak_db):
    peak = max(abs(v) for v in samples)
    gain = 10 ** (peak_db / 20.0) / peak
    pcm = [max(-32768, min(32767, int(round(v * gain * 32767)))) for v in samples]
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack("<%dh" % len(pcm), *pcm))


def raised_cos_in(t, width):
    """0 -> 1 over `width` seconds; avoids a click at the very start."""
    if t >= width:
        return 1.0
    return 0.5 - 0.5 * math.cos(math.pi * t / width)


def fade_out(t, start, width):
    """1 until `start`, then down to 0 over `width` seconds, so a file ends on silence."""
    if t <= start:
        return 1.0
    return 1.0 - raised_cos_in(t - start, width)


def page_turn():
    """A soft swish: bright paper noise sliding darker as it fades."""
    n = secs(0.35)
    bright = filtered_noise(n, 101, "highpass", "1800", "lowpass", "6000")
    dark = filtered_noise(n, 102, "bandpass", "1100", "0.9q")
    # Slow random flutter gives the papery, uneven texture of a sheet in the air.
    flutter = filtered_noise(n, 103, "lowpass", "35", "lowpass", "35")
    fl = max(abs(v) for v in flutter)
    out = []
    for i in range(n):
        t = i / RATE
        slide = min(1.0, t / 0.25)
        env = raised_cos_in(t, 0.018) * math.exp(-t / 0.085)
        env *= fade_out(t, 0.30, 0.05)
        tex = 1.0 + 0.35 * flutter[i] / fl
        out.append(env * tex * ((1.0 - slide) * bright[i] + 0.8 * slide * dark[i]))
    return out, -7.0


def plop():
    """A paint-bucket plop: a sine blip falling in pitch plus a short wet tail."""
    n = secs(0.36)
    tail = filtered_noise(n, 201, "lowpass", "1800", "highpass", "250", "bandpass", "700", "1.2q")
    tail_peak = max(abs(v) for v in tail)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        freq = 170.0 + 480.0 * math.exp(-t / 0.035)
        phase += 2.0 * math.pi * freq / RATE
        blip_env = raised_cos_in(t, 0.004) * math.exp(-t / 0.055)
        blip = blip_env * (math.sin(phase) + 0.18 * math.sin(2.0 * phase))
        tail_t = max(0.0, t - 0.015)  # the splash follows the impact
        tail_env = raised_cos_in(tail_t, 0.02) * math.exp(-tail_t / 0.07)
        v = blip + 0.22 * tail_env * tail[i] / tail_peak
        out.append(v * fade_out(t, 0.32, 0.04))
    return out, -5.0


def spray_hiss():
    """Steady aerosol hiss, 1.5 s, loops without a seam."""
    length, xfade = secs(1.5), secs(0.3)
    y = filtered_noise(
        length + xfade, 301,
        "highpass", "2200", "highpass", "2200",
        "equalizer", "6000", "1.0q", "+4",
        "lowpass", "9500",
    )
    return seamless(y, length, xfade), -12.0


def eraser_rub():
    """Eraser scrubbing paper: strokes at 10/3 Hz, alternately brighter and duller.

    1.8 s holds exactly six strokes (three back-and-forth motions), and every
    modulation below is periodic in that length, so the loop seam is invisible.
    """
    length, xfade = secs(1.8), secs(0.3)
    bright = seamless(filtered_noise(length + xfade, 401, "bandpass", "2600", "0.8q"), length, xfade)
    dull = seamless(filtered_noise(length + xfade, 402, "bandpass", "1100", "0.9q"), length, xfade)
    grain = seamless(filtered_noise(length + xfade, 403, "lowpass", "60", "lowpass", "60"), length, xfade)
    gp = max(abs(v) for v in grain)
    loop_s = length / RATE
    stroke = loop_s / 6.0
    out = []
    for i in range(length):
        t = i / RATE
        ph = (t % stroke) / stroke
        # Loud mid-stroke, quiet (not silent) where the hand turns around.
        env = 0.15 + 0.85 * math.sin(math.pi * ph) ** 1.5
        env *= 1.0 + 0.12 * math.sin(2.0 * math.pi * t / loop_s)
        w_bright = 0.55 + 0.25 * math.cos(math.pi * t / stroke)
        tex = 1.0 + 0.3 * grain[i] / gp
        out.append(env * tex * (w_bright * bright[i] + (1.0 - w_bright) * 1.3 * dull[i]))
    return out, -6.0


SOUNDS = {"s1": page_turn, "s3": plop, "sndfuse": spray_hiss, "sndstir": eraser_rub}


def main(argv):
    if len(argv) != 3 or argv[1] not in SOUNDS:
        sys.stderr.write("usage: %s {%s} OUT.wav\n" % (argv[0], "|".join(SOUNDS)))
        return 2
    samples, peak_db = SOUNDS[argv[1]]()
    write_wav(argv[2], samples, peak_db)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
