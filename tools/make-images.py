#!/usr/bin/env python3
"""Draws the program's two pictures with nothing but the standard library.

    tile.png   64 x 64   a light linen texture; it repeats without seams, so windows tile it
    title.png  640 x 360 the title window's backdrop: deep blue with a soft light and fine pinstripes

Run from the repository root:  python3 tools/make-images.py
The output is deterministic (fixed seed), so re-running it leaves the committed files unchanged.
"""
import math
import os
import random
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "images")


def write_png(path, width, height, rows):
    """rows: list of bytes objects, 3 bytes (RGB) per pixel."""
    raw = b"".join(b"\x00" + bytes(r) for r in rows)

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def clamp(v):
    return max(0, min(255, int(round(v))))


def linen(size=64, seed=1812):
    rnd = random.Random(seed)
    base = (246, 242, 233)
    # Each thread (row and column) is a little lighter or darker than its neighbours; because the offsets are
    # indexed modulo the tile size, the texture continues across the tile's edges.
    row = [rnd.uniform(-3.5, 3.5) for _ in range(size)]
    col = [rnd.uniform(-3.5, 3.5) for _ in range(size)]
    rows = []
    for y in range(size):
        line = bytearray()
        for x in range(size):
            weave = 1.2 if (x + y) % 2 == 0 else -1.2
            v = 0.7 * row[y] + 0.7 * col[x] + weave + rnd.uniform(-1.6, 1.6)
            line += bytes((clamp(base[0] + v), clamp(base[1] + v), clamp(base[2] + v * 1.1)))
        rows.append(line)
    return rows


def backdrop(width=640, height=360, seed=1812):
    rnd = random.Random(seed)
    top = (24, 52, 98)
    bottom = (9, 22, 48)
    glow_x, glow_y = 0.28 * width, 0.30 * height
    rows = []
    for y in range(height):
        t = y / (height - 1)
        line = bytearray()
        for x in range(width):
            r = top[0] + (bottom[0] - top[0]) * t
            g = top[1] + (bottom[1] - top[1]) * t
            b = top[2] + (bottom[2] - top[2]) * t
            d = math.hypot((x - glow_x) / width, (y - glow_y) / height)
            light = 34 * math.exp(-d * d * 7.0)
            stripe = 3.0 if (x + y) % 9 == 0 else 0.0
            n = rnd.uniform(-1.2, 1.2)
            edge = min(x, width - 1 - x, y, height - 1 - y)
            vignette = -10 * math.exp(-edge / 28.0)
            k = light + stripe + n + vignette
            line += bytes((clamp(r + k * 0.75), clamp(g + k * 0.85), clamp(b + k)))
        rows.append(line)
    # A thin gold rule near the foot of the picture.
    for y in (height - 46, height - 45):
        line = rows[y]
        for x in range(24, width - 24):
            fade = min(1.0, (x - 24) / 120.0, (width - 24 - x) / 120.0)
            line[3 * x:3 * x + 3] = bytes((clamp(9 + 190 * fade), clamp(22 + 146 * fade), clamp(48 + 40 * fade)))
    return rows


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    write_png(os.path.join(OUT, "tile.png"), 64, 64, linen())
    write_png(os.path.join(OUT, "title.png"), 640, 360, backdrop())
