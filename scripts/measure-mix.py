#!/usr/bin/python3
"""The figures of scripts/measure-mix: levels of a music capture (16-bit WAVE) and an effect
capture (raw 32-bit float stereo at 44100 Hz), both from one run of the game.
Usage: measure-mix.py MUSIC.wav EFFECTS.raw"""
import sys
import numpy as np

RATE = 44100


def db(x):
    return 20 * np.log10(max(float(x), 1e-9))


def music(path):
    """The samples of a 16-bit WAVE file (also WAVE_FORMAT_EXTENSIBLE), frames by channels."""
    data = open(path, "rb").read()
    at, channels, rate, samples = 12, 2, RATE, b""
    while at + 8 <= len(data):
        tag, size = data[at:at + 4], int.from_bytes(data[at + 4:at + 8], "little")
        body = data[at + 8:at + 8 + size]
        if tag == b"fmt ":
            channels = int.from_bytes(body[2:4], "little")
            rate = int.from_bytes(body[4:8], "little")
        elif tag == b"data":
            samples = body
        at += 8 + size + (size & 1)
    frames = np.frombuffer(samples[:len(samples) // (2 * channels) * 2 * channels], np.int16)
    return frames.astype(np.float64).reshape(-1, channels) / 32768, rate


def bursts(mono, rate, floor=1e-3, gap=0.03):
    """(start, end) sample ranges where the effect capture sounds, split at 30 ms of silence."""
    loud = np.abs(mono) > floor
    out, start, quiet = [], None, 0
    for i, on in enumerate(loud):
        if on:
            if start is None:
                start = i
            quiet = 0
        elif start is not None:
            quiet += 1
            if quiet > gap * rate:
                out.append((start, i - quiet))
                start, quiet = None, 0
    if start is not None:
        out.append((start, len(mono)))
    return out


def main():
    tracks, rate = music(sys.argv[1])
    effects = np.fromfile(sys.argv[2], np.float32).astype(np.float64).reshape(-1, 2)
    m = tracks.mean(axis=1)
    # The menu track plays from the start, the play track after the fade; split at the quietest
    # 0.1 s after the first 10 s, where one track stopped and the next began.
    window = int(0.1 * rate)
    levels = [np.sqrt(np.mean(m[i:i + window] ** 2)) for i in range(10 * rate, len(m) - window, window)]
    cut = 10 * rate + window * int(np.argmin(levels)) if levels else len(m)
    for name, part in (("menu music", tracks[:cut]), ("play music", tracks[cut:])):
        sounding = part[np.abs(part).max(axis=1) > 1e-4]
        if len(sounding):
            print(f"{name:12s} peak {db(np.abs(sounding).max()):6.1f} dBFS   "
                  f"RMS {db(np.sqrt(np.mean(sounding ** 2))):6.1f} dBFS   ({len(sounding) / rate:.1f} s)")
    e = effects.mean(axis=1)
    print(f"effects      {len(bursts(e, RATE))} heard; each: peak, RMS over its sounding part (dBFS)")
    for start, end in bursts(e, RATE):
        part = effects[start:end]
        print(f"  at {start / RATE:6.2f} s  {1000 * (end - start) / RATE:5.0f} ms  "
              f"peak {db(np.abs(part).max()):6.1f}  RMS {db(np.sqrt(np.mean(part ** 2))):6.1f}")
    n = min(len(tracks), len(effects))
    both = np.abs(tracks[:n] + effects[:n]).max() if n else 0.0
    print(f"music + effects, sample by sample (clocks aligned at start): peak {db(both):.1f} dBFS")
    print(f"worst case, the two peaks added: {db(np.abs(tracks).max() + np.abs(effects).max()):.1f} dBFS")


if __name__ == "__main__":
    main()
