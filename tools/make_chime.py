#!/usr/bin/env python3
"""Writes Horolo.wav: a short two-note chime for trying the alarm.

Usage: make_chime.py OUTPUT.wav

16-bit mono PCM at 22050 Hz, about 1.2 s: a high note and a lower one, each
a bell-like tone (a fundamental with two softer overtones) that sets in
within a few milliseconds and dies away.
"""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 1.2                     # seconds
NOTES = ((0.0, 1318.5), (0.35, 1046.5))   # (start in seconds, frequency in Hz): E6, then C6
OVERTONES = ((1.0, 1.0), (2.0, 0.3), (3.0, 0.12))  # (frequency factor, amplitude)
ATTACK = 0.005                   # seconds to full loudness
DECAY = 0.3                      # seconds for the loudness to fall to 1/e
PEAK = 0.45                      # of full scale, so that two sounding notes never clip


def sample(t):
    value = 0.0
    for start, frequency in NOTES:
        age = t - start
        if age < 0:
            continue
        envelope = min(1.0, age / ATTACK) * math.exp(-age / DECAY)
        for factor, amplitude in OVERTONES:
            value += amplitude * envelope * math.sin(2 * math.pi * frequency * factor * age)
    return value


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    scale = PEAK * 32767 / sum(a for _, a in OVERTONES)
    frames = bytearray()
    for n in range(int(RATE * LENGTH)):
        frames += struct.pack('<h', round(scale * sample(n / RATE)))
    with wave.open(sys.argv[1], 'wb') as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


if __name__ == '__main__':
    main()
