#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws VantorilTime's pictures: the clock icon and the open-hand pointer.

Standard library only, so the PNGs can be remade on any machine with plain
Python 3.  Shapes are described by signed distance functions (negative
inside); a pixel that a shape edge crosses is supersampled, every other pixel
takes its colour from one sample at its centre.

    python3 tools/make_images.py [--out DIR]

Writes clock-{32,48,64,128,256}.png and hand-cursor-{32,64}.png into DIR
(default: ui/resources next to this script) and prints the pointer hotspot.
"""

from __future__ import annotations

import argparse
import math
import struct
import sys
import zlib
from pathlib import Path
from typing import Callable, Sequence

Sdf = Callable[[float, float], float]
Rgba = tuple[int, int, int, int]

SUPERSAMPLE = 8  # samples per pixel side on edge pixels
HALF_DIAGONAL = math.sqrt(0.5)  # farthest a pixel's area reaches from its centre

WHITE: Rgba = (255, 255, 255, 255)
BLACK: Rgba = (0, 0, 0, 255)
DIAL_PINK: Rgba = (255, 204, 221, 255)
CLEAR: Rgba = (0, 0, 0, 0)

CLOCK_SIZES = (32, 48, 64, 128, 256)
CURSOR_SIZES = (32, 64)


# ---------------------------------------------------------------- shapes

def circle(cx: float, cy: float, r: float) -> Sdf:
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def capsule(ax: float, ay: float, bx: float, by: float, r: float) -> Sdf:
    """A stroke from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x: float, y: float) -> float:
        px, py = x - ax, y - ay
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, (px * dx + py * dy) / length2))
        return math.hypot(px - t * dx, py - t * dy) - r

    return sdf


def box(cx: float, cy: float, half_w: float, half_h: float, angle: float = 0.0) -> Sdf:
    """A rectangle centred on (cx, cy), turned clockwise by angle (radians)."""
    c, s = math.cos(angle), math.sin(angle)

    def sdf(x: float, y: float) -> float:
        px, py = x - cx, y - cy
        u = abs(px * c + py * s) - half_w
        v = abs(-px * s + py * c) - half_h
        return math.hypot(max(u, 0.0), max(v, 0.0)) + min(max(u, v), 0.0)

    return sdf


def polygon(points: Sequence[tuple[float, float]]) -> Sdf:
    pts = list(points)

    def sdf(x: float, y: float) -> float:
        best = math.inf
        inside = False
        j = len(pts) - 1
        for i, (ax, ay) in enumerate(pts):
            bx, by = pts[j]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(wx - t * ex, wy - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
            j = i
        return -best if inside else best

    return sdf


def union(*parts: Sdf) -> Sdf:
    return lambda x, y: min(p(x, y) for p in parts)


def grow(shape: Sdf, amount: float) -> Sdf:
    return lambda x, y: shape(x, y) - amount


# ---------------------------------------------------------------- rendering

def render(size: int, background: Rgba, layers: Sequence[tuple[Sdf, Rgba]]) -> list[list[Rgba]]:
    """Paints layers back to front; each covers where its distance is < 0.

    The distances must not overstate how far an edge is (exact, or a union of
    exact ones), because a pixel whose centre is farther than half a diagonal
    from every edge is taken as wholly in or out without supersampling.
    """
    n = SUPERSAMPLE
    offsets = [(i + 0.5) / n for i in range(n)]
    rows: list[list[Rgba]] = []
    for py in range(size):
        row: list[Rgba] = []
        for px in range(size):
            cx, cy = px + 0.5, py + 0.5
            colour = background
            edge = False
            for shape, paint in layers:
                d = shape(cx, cy)
                if d < -HALF_DIAGONAL:
                    colour = paint
                elif d <= HALF_DIAGONAL:
                    edge = True
            if edge:
                colour = _supersample(px, py, offsets, background, layers)
            row.append(colour)
        rows.append(row)
    return rows


def _supersample(px: int, py: int, offsets: list[float], background: Rgba,
                 layers: Sequence[tuple[Sdf, Rgba]]) -> Rgba:
    # Colours are summed premultiplied so transparent samples add no colour.
    r = g = b = a = 0
    for oy in offsets:
        for ox in offsets:
            x, y = px + ox, py + oy
            colour = background
            for shape, paint in layers:
                if shape(x, y) < 0.0:
                    colour = paint
            r += colour[0] * colour[3]
            g += colour[1] * colour[3]
            b += colour[2] * colour[3]
            a += colour[3]
    if a == 0:
        return CLEAR
    count = len(offsets) ** 2
    return (round(r / a), round(g / a), round(b / a), round(a / count))


def png_bytes(rows: list[list[Rgba]], with_alpha: bool) -> bytes:
    height, width = len(rows), len(rows[0])
    channels = 4 if with_alpha else 3
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter type: none
        for pixel in row:
            if not with_alpha and pixel[3] != 255:
                raise ValueError("an opaque picture got a see-through pixel")
            raw.extend(pixel[:channels])

    def chunk(kind: bytes, data: bytes) -> bytes:
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    colour_type = 6 if with_alpha else 2
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------- the clock

def clock_layers(size: int) -> list[tuple[Sdf, Rgba]]:
    """A pink dial with a black rim, twelve ticks and hands at ten past ten."""
    centre = size / 2
    # Integer radii and even tick widths keep the 12/3/6/9 ticks on whole
    # pixels, which is what keeps the 32 px icon from looking smeared.
    rim_outer = size // 2 - max(1, round(size / 32))
    rim = max(2, round(size / 18))
    gap = max(1, round(size / 32))
    tick_outer = rim_outer - rim - gap
    tick_half = max(1, round(size / 48))
    long_tick = max(3, round(size * 3 / 32))
    short_tick = max(2, round(size * 2 / 32))

    layers: list[tuple[Sdf, Rgba]] = [
        (circle(centre, centre, rim_outer), BLACK),
        (circle(centre, centre, rim_outer - rim), DIAL_PINK),
    ]
    for hour in range(12):
        angle = math.radians(hour * 30)
        length = long_tick if hour % 3 == 0 else short_tick
        mid = tick_outer - length / 2
        # Screen y grows downwards, so twelve o'clock is at -y.
        x, y = centre + mid * math.sin(angle), centre - mid * math.cos(angle)
        if hour % 3 and size <= 48:
            # A slanted bar a couple of pixels wide only blurs into a grey
            # cross; a square dot on whole pixels reads better.
            x, y = round(x - tick_half) + tick_half, round(y - tick_half) + tick_half
            layers.append((box(x, y, tick_half, tick_half), BLACK))
        else:
            layers.append((box(x, y, tick_half, length / 2, angle), BLACK))

    def hand(hour_position: float, length: float, width: float) -> Sdf:
        angle = math.radians(hour_position * 30)
        return capsule(centre, centre, centre + length * math.sin(angle),
                       centre - length * math.cos(angle), width / 2)

    hour_width = max(2.5, size / 11)
    minute_width = max(2.0, size / 16)
    # The minute hand stops short of the two o'clock tick so the two do not
    # merge into one long bar.
    minute_length = tick_outer - short_tick - gap - minute_width / 2
    layers.append((hand(10, tick_outer * 0.45, hour_width), BLACK))
    layers.append((hand(2, minute_length, minute_width), BLACK))
    layers.append((circle(centre, centre, hour_width * 0.75), BLACK))
    return layers


# ---------------------------------------------------------------- the pointer

# The hand is drawn in a 32-unit square.  Finger edges sit on whole units and
# the outline is one unit, so the 32 px pointer stays sharp.
OUTLINE = 1.0
FINGER_R = 1.5
FINGERS = (  # (centre x, top of the fill)
    (10.5, 2.0),   # index
    (14.5, 1.0),   # middle
    (18.5, 2.0),   # ring
    (22.5, 5.0),   # little
)
INDEX_TIP = (int(FINGERS[0][0]), int(FINGERS[0][1] - OUTLINE))  # top of its outline


def hand_shape() -> Sdf:
    fingers = [capsule(x, top + FINGER_R, x, 15.0, FINGER_R) for x, top in FINGERS]
    palm = grow(polygon([(9.5, 12.0), (23.5, 12.0), (23.5, 22.0),
                         (20.0, 27.0), (11.5, 27.0), (9.5, 23.0)]), 0.5)
    thumb = capsule(10.0, 21.0, 4.5, 13.0, 1.75)
    wrist = box(15.75, 28.5, 4.25, 1.5)
    return union(*fingers, palm, thumb, wrist)


def hand_layers(scale: float) -> list[tuple[Sdf, Rgba]]:
    shape = hand_shape()

    def scaled(s: Sdf) -> Sdf:
        return lambda x, y: s(x / scale, y / scale) * scale

    return [(scaled(grow(shape, OUTLINE)), BLACK), (scaled(shape), WHITE)]


# ---------------------------------------------------------------- main

def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path,
                        default=Path(__file__).resolve().parent.parent / "ui" / "resources")
    args = parser.parse_args(argv)
    args.out.mkdir(parents=True, exist_ok=True)

    for size in CLOCK_SIZES:
        rows = render(size, WHITE, clock_layers(size))
        (args.out / f"clock-{size}.png").write_bytes(png_bytes(rows, with_alpha=False))
    for size in CURSOR_SIZES:
        rows = render(size, CLEAR, hand_layers(size / 32))
        (args.out / f"hand-cursor-{size}.png").write_bytes(png_bytes(rows, with_alpha=True))

    print(f"hand-cursor hotspot (32 px): {INDEX_TIP[0]}, {INDEX_TIP[1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
