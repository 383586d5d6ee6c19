#!/usr/bin/python3
"""Draws the three built-in face pictures IMAGE0, IMAGE1 and IMAGE2.

Usage: make_pictures.py OUTPUT_DIRECTORY

Each picture belongs to one of the three characters of the settings dialog:
  image0.bmp  ミルア, bold and warm: a sunburst in apricot and gold
  image1.bmp  ネオラ, calm and quiet: a still pond at dawn under a crescent moon
  image2.bmp  ザクル, shy: pastel flowers hiding at the edges of the face
Every colour stays light, so that black hands and indicators read everywhere.

Output: 200 by 200 Windows bitmaps, 8 bits per pixel, a 256-entry colour
table, uncompressed, bottom-up. The resource compiler takes them as they are.
The build does not run this script: its output is committed beside the
resource script. Needs Pillow (Debian's python3-pil).
"""
import math
import os
import random
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter

SIZE = 200
SCALE = 4                   # drawn at 4x, then reduced: smooth edges
BIG = SIZE * SCALE
MIN_LUMINANCE = 150         # black hands stay readable on every pixel


def radial(size, inner, outer, centre=None, reach=None):
    """A radial gradient from inner (at the centre) to outer."""
    cx, cy = centre or (size / 2, size / 2)
    reach = reach or size * 0.75
    image = Image.new("RGB", (size, size))
    pixels = image.load()
    for y in range(size):
        for x in range(size):
            t = min(1.0, math.hypot(x - cx, y - cy) / reach)
            pixels[x, y] = tuple(round(a + (b - a) * t) for a, b in zip(inner, outer))
    return image


def linear(size, start, end, diagonal=False):
    """A top-to-bottom (or top-left to bottom-right) gradient."""
    image = Image.new("RGB", (size, size))
    pixels = image.load()
    for y in range(size):
        for x in range(size):
            t = (x + y) / (2 * size - 2) if diagonal else y / (size - 1)
            pixels[x, y] = tuple(round(a + (b - a) * t) for a, b in zip(start, end))
    return image


def star(draw, cx, cy, outer, inner, points, colour, turn=0.0):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + math.pi * i / points
        corners.append((cx + r * math.sin(a), cy - r * math.cos(a)))
    draw.polygon(corners, fill=colour)


def heart(draw, cx, cy, r, colour):
    draw.ellipse((cx - r, cy - r * 0.9, cx, cy + r * 0.1), fill=colour)
    draw.ellipse((cx, cy - r * 0.9, cx + r, cy + r * 0.1), fill=colour)
    draw.polygon([(cx - r * 0.97, cy - r * 0.2), (cx + r * 0.97, cy - r * 0.2), (cx, cy + r * 1.05)], fill=colour)


def flower(draw, cx, cy, r, petal, centre, turn):
    for i in range(5):
        a = turn + 2 * math.pi * i / 5
        px, py = cx + r * 0.55 * math.sin(a), cy - r * 0.55 * math.cos(a)
        draw.ellipse((px - r * 0.48, py - r * 0.48, px + r * 0.48, py + r * 0.48), fill=petal)
    draw.ellipse((cx - r * 0.3, cy - r * 0.3, cx + r * 0.3, cy + r * 0.3), fill=centre)


def milua():
    """Bold and warm: a sunburst of apricot and gold rays round a cream sun."""
    image = radial(BIG, (255, 249, 228), (255, 200, 150))
    rays = Image.new("L", (BIG, BIG), 0)
    draw = ImageDraw.Draw(rays)
    c = BIG / 2
    for i in range(16):
        a0 = 2 * math.pi * (i - 0.25) / 16
        a1 = 2 * math.pi * (i + 0.25) / 16
        far = BIG
        draw.polygon([(c, c), (c + far * math.sin(a0), c - far * math.cos(a0)),
                      (c + far * math.sin(a1), c - far * math.cos(a1))], fill=70)
    rays = rays.filter(ImageFilter.GaussianBlur(SCALE * 2))
    image = Image.composite(Image.new("RGB", (BIG, BIG), (255, 226, 120)), image, rays)
    draw = ImageDraw.Draw(image)
    # A bold sun in the middle, with a warm corona.
    for r, colour in ((44, (255, 214, 140)), (36, (255, 232, 168)), (28, (255, 243, 200))):
        draw.ellipse((c - r * SCALE, c - r * SCALE, c + r * SCALE, c + r * SCALE), fill=colour)
    # Sparkles in the four corners, where no indicator lies.
    for x, y in ((18, 18), (182, 18), (18, 182), (182, 182)):
        star(draw, x * SCALE, y * SCALE, 11 * SCALE, 4 * SCALE, 4, (255, 238, 150))
        star(draw, x * SCALE, y * SCALE, 6 * SCALE, 2.5 * SCALE, 4, (255, 250, 225), math.pi / 4)
    # Small hearts between the hours, just inside the indicator ring.
    for i in range(12):
        a = 2 * math.pi * (i + 0.5) / 12
        x, y = c + 78 * SCALE * math.sin(a), c - 78 * SCALE * math.cos(a)
        heart(draw, x, y, 4.5 * SCALE, (255, 176, 140))
    return image


def neora():
    """Calm and quiet: pale ripples on a still pond at dawn, a crescent moon."""
    image = linear(BIG, (214, 228, 246), (236, 243, 250))
    draw = ImageDraw.Draw(image)
    # Ripples round a point low on the face, fading as they widen.
    cx, cy = BIG * 0.56, BIG * 0.70
    for k in range(9, 0, -1):
        r = k * 17 * SCALE
        shade = 226 - k * 2
        draw.ellipse((cx - r, cy - r * 0.42, cx + r, cy + r * 0.42),
                     outline=(shade - 20, shade - 6, 246), width=SCALE + 1)
    # A crescent moon in the upper left, and a few quiet stars.
    mx, my, mr = 62 * SCALE, 58 * SCALE, 17 * SCALE
    draw.ellipse((mx - mr, my - mr, mx + mr, my + mr), fill=(252, 246, 214))
    draw.ellipse((mx - mr + 9 * SCALE, my - mr - 4 * SCALE, mx + mr + 9 * SCALE, my + mr - 4 * SCALE),
                 fill=(218, 231, 247))
    for x, y in ((128, 40), (150, 66), (110, 70), (40, 110), (160, 110)):
        star(draw, x * SCALE, y * SCALE, 3.5 * SCALE, 1.2 * SCALE, 4, (178, 198, 232))
    return image.filter(ImageFilter.GaussianBlur(SCALE * 0.6))


def zakuru():
    """Shy: pastel flowers that keep to the edges, a plain middle."""
    image = linear(BIG, (252, 230, 238), (234, 228, 250), diagonal=True)
    draw = ImageDraw.Draw(image)
    rng = random.Random(7)
    placed = []
    while len(placed) < 26:
        x, y = rng.uniform(4, 196), rng.uniform(4, 196)
        d = math.hypot(x - 100, y - 100)
        if d < 70 or any(math.hypot(x - px, y - py) < 22 for px, py in placed):
            continue
        placed.append((x, y))
    for n, (x, y) in enumerate(placed):
        r = rng.uniform(7, 11) * SCALE
        petal = (255, 246, 250) if n % 3 else (246, 226, 252)
        centre = (246, 186, 206) if n % 2 else (236, 196, 150)
        flower(draw, x * SCALE, y * SCALE, r, petal, centre, rng.uniform(0, math.pi))
    # Two small hearts peeking in, as if hiding behind the rim.
    heart(draw, 100 * SCALE, 164 * SCALE, 5 * SCALE, (246, 196, 214))
    heart(draw, 112 * SCALE, 158 * SCALE, 3.5 * SCALE, (240, 206, 236))
    return image


def luminance(rgb):
    r, g, b = rgb
    return 0.299 * r + 0.587 * g + 0.114 * b


def write_bmp(image, path):
    """8 bits per pixel, exactly 256 palette entries, uncompressed, bottom-up."""
    small = image.resize((SIZE, SIZE), Image.LANCZOS)
    indexed = small.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.FLOYDSTEINBERG)
    palette = (indexed.getpalette() or [])[: 256 * 3]
    palette += [0] * (256 * 3 - len(palette))
    colours = [tuple(palette[i * 3:i * 3 + 3]) for i in range(256)]
    used = {colours[i] for i in set(indexed.getdata())}
    darkest = min(luminance(c) for c in used)
    if darkest < MIN_LUMINANCE:
        sys.exit(f"{path}: a colour of luminance {darkest:.0f} would hide black hands")

    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    rows = indexed.tobytes()
    bits = b"".join(rows[y * SIZE:(y + 1) * SIZE] for y in range(SIZE - 1, -1, -1))  # SIZE is a multiple of 4
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    with open(path, "wb") as out:
        out.write(header + info + table + bits)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, draw in (("image0.bmp", milua), ("image1.bmp", neora), ("image2.bmp", zakuru)):
        write_bmp(draw(), os.path.join(out, name))


if __name__ == "__main__":
    main()
