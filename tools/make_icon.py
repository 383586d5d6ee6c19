#!/usr/bin/env python3
"""Writes the program icon: a small analogue clock face showing ten past ten.

Usage: make_icon.py OUTPUT.ico [PICTURE.bmp]

Each image is a 32-bit BGRA DIB with an AND mask, the form every Windows
version reads. Drawn with 4x4 supersampling so the small sizes stay smooth.

PICTURE.bmp, when given, is the same face at 64 by 64 pixels as a bitmap
with 256 colours for the About window: palette entry 0 stands for the
background around the face (the program gives it the window's colour), the
other entries are the face's own colours.
"""
import math
import struct
import sys

SIZES = (16, 24, 32, 48)
PICTURE_SIZE = 64
SUPERSAMPLE = 4

RIM = (40, 48, 64)          # dark slate rim
FACE = (250, 246, 232)      # ivory dial
MARK = (40, 48, 64)
HOUR_HAND = (30, 30, 30)
MINUTE_HAND = (30, 30, 30)
SECOND_HAND = (200, 30, 30)


def segment_distance(px, py, ax, ay, bx, by):
    """Distance of point p from the segment a-b."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def hand(angle_deg, length):
    """End point of a hand (unit circle coordinates, 0 degrees = 12 o'clock)."""
    a = math.radians(angle_deg)
    return math.sin(a) * length, -math.cos(a) * length


def sample(x, y, size):
    """Colour (r, g, b, a) at a point in unit coordinates (-1..1, y down)."""
    r = math.hypot(x, y)
    if r > 0.97:
        return (0, 0, 0, 0)
    if r > 0.82:
        return RIM + (255,)
    # Hands, topmost first: second, minute, hour, then the hour marks.
    thin = max(0.05, 1.3 / size)
    small = size <= 24  # below this the second hand and minor marks only blur
    if not small and segment_distance(x, y, 0, 0, *hand(180, 0.72)) < thin * 0.6:
        return SECOND_HAND + (255,)
    if segment_distance(x, y, 0, 0, *hand(12, 0.72)) < thin * 1.1:
        return MINUTE_HAND + (255,)
    if segment_distance(x, y, 0, 0, *hand(305, 0.48)) < thin * 1.5:
        return HOUR_HAND + (255,)
    for hour in range(0, 12, 3 if small else 1):
        ax, ay = hand(hour * 30, 0.78)
        inner = 0.58 if hour % 3 == 0 else 0.66
        bx, by = hand(hour * 30, inner)
        if segment_distance(x, y, ax, ay, bx, by) < thin * (1.2 if hour % 3 == 0 else 0.8):
            return MARK + (255,)
    return FACE + (255,)


def render(size):
    """Rows of (b, g, r, a) pixels, top row first."""
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    x = ((px + (sx + 0.5) / n) / size) * 2 - 1
                    y = ((py + (sy + 0.5) / n) / size) * 2 - 1
                    r, g, b, a = sample(x, y, size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (n * n)
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                # Colour averaged over the covered samples; alpha is the coverage.
                row.append((round(acc[2] / acc[3]), round(acc[1] / acc[3]),
                            round(acc[0] / acc[3]), round(alpha)))
        rows.append(row)
    return rows


def dib(size):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(c for px in row for c in px) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def median_cut(weights, count):
    """Up to `count` colours standing for the colours of `weights` (colour:
    pixel count); returns the palette and each colour's index in it."""
    boxes = [list(weights)]
    while len(boxes) < count:
        widest = None
        for i, box in enumerate(boxes):
            for channel in range(3):
                spread = max(c[channel] for c in box) - min(c[channel] for c in box)
                if spread > 0 and (widest is None or spread > widest[0]):
                    widest = (spread, i, channel)
        if widest is None:
            break
        _, i, channel = widest
        box = sorted(boxes[i], key=lambda c: c[channel])
        half, seen, cut = sum(weights[c] for c in box) / 2, 0, 1
        for k, colour in enumerate(box[:-1]):
            seen += weights[colour]
            cut = k + 1
            if seen >= half:
                break
        boxes[i:i + 1] = [box[:cut], box[cut:]]
    palette, index = [], {}
    for box in boxes:
        total = sum(weights[c] for c in box)
        palette.append(tuple(round(sum(c[ch] * weights[c] for c in box) / total) for ch in range(3)))
        for colour in box:
            index[colour] = len(palette) - 1
    return palette, index


def picture():
    """The 64-pixel face as a 256-colour BMP file; index 0 is the background."""
    size = PICTURE_SIZE
    rows = render(size)
    weights = {}
    for row in rows:
        for b, g, r, a in row:
            if a >= 128:
                weights[(b, g, r)] = weights.get((b, g, r), 0) + 1
    palette, index = median_cut(weights, 255)
    table = [(192, 192, 192)] + palette + [(0, 0, 0)] * (255 - len(palette))
    pixels = b''.join(bytes(index[px[:3]] + 1 if px[3] >= 128 else 0 for px in row) for row in reversed(rows))
    colours = b''.join(bytes((b, g, r, 0)) for b, g, r in table)
    offset = 14 + 40 + len(colours)
    header = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + header + colours + pixels


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit('usage: make_icon.py OUTPUT.ico [PICTURE.bmp]')
    images = [dib(s) for s in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)
    if len(sys.argv) == 3:
        with open(sys.argv[2], 'wb') as f:
            f.write(picture())


if __name__ == '__main__':
    main()
