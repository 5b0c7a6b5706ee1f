#!/usr/bin/env python3
"""Draw the Binarok application icon and write it to res/Numvera.ico.

The artwork is a rounded blue tile with a thin dark border carrying the
white binary digits "1" and "0". The icon holds 13 images:

  * 16, 24, 32 and 48 px in 4-bit (16 colours), then the same sizes in
    8-bit (256 colours), then in 32-bit BGRA, all as classic DIB entries;
  * one 256 px 32-bit image stored as PNG.

Usage, from the repository root:

    python3 scripts/make-icon.py

Only the Python standard library is used, and the output is byte-for-byte
identical on every run, so the generated file can be committed and checked.
"""

import math
import os
import struct
import zlib

# Colours (R, G, B).
TILE_TOP = (0x2F, 0x6F, 0xD6)
TILE_BOTTOM = (0x1A, 0x3F, 0x8F)
BORDER = (0x0E, 0x26, 0x5E)
DIGIT = (0xFF, 0xFF, 0xFF)

DIB_SIZES = (16, 24, 32, 48)
DIB_DEPTHS = (4, 8, 32)
PNG_SIZE = 256


# --------------------------------------------------------------------------
# Geometry. Every shape answers "is this point inside?" in pixel coordinates
# (x right, y down, the pixel (i, j) covering [i, i+1) x [j, j+1)).
# --------------------------------------------------------------------------

class Rect:
    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1

    def contains(self, x, y):
        return self.x0 <= x < self.x1 and self.y0 <= y < self.y1


class RoundRect(Rect):
    def __init__(self, x0, y0, x1, y1, r):
        super().__init__(x0, y0, x1, y1)
        self.r = max(0.0, r)

    def contains(self, x, y):
        if not Rect.contains(self, x, y):
            return False
        r = self.r
        # Distance from the inner rectangle shrunk by r decides the corners.
        dx = max(self.x0 + r - x, 0.0, x - (self.x1 - r))
        dy = max(self.y0 + r - y, 0.0, y - (self.y1 - r))
        return dx * dx + dy * dy <= r * r


class ConvexPolygon:
    def __init__(self, points):
        self.points = points
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = Rect(min(xs), min(ys), max(xs), max(ys))

    def contains(self, x, y):
        if not self.box.contains(x, y):
            return False
        sign = 0
        pts = self.points
        for i in range(len(pts)):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % len(pts)]
            cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
            if cross != 0:
                s = 1 if cross > 0 else -1
                if sign == 0:
                    sign = s
                elif s != sign:
                    return False
        return True


class SuperEllipse:
    """|dx/a|^n + |dy/b|^n <= 1: n = 2 is an ellipse, larger n is boxier."""

    def __init__(self, x0, y0, x1, y1, n):
        self.cx, self.cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        self.a, self.b = (x1 - x0) / 2.0, (y1 - y0) / 2.0
        self.n = n

    def contains(self, x, y):
        if self.a <= 0 or self.b <= 0:
            return False
        u = abs(x - self.cx) / self.a
        v = abs(y - self.cy) / self.b
        if u > 1 or v > 1:
            return False
        return u ** self.n + v ** self.n <= 1.0


class Ring:
    """An outer shape minus an inner one (the "0")."""

    def __init__(self, outer, inner):
        self.outer, self.inner = outer, inner

    def contains(self, x, y):
        return self.outer.contains(x, y) and not self.inner.contains(x, y)


# --------------------------------------------------------------------------
# Layout. The artwork is drawn on a 32-unit grid; each size scales it and
# snaps edges to whole pixels so strokes stay crisp. 16 px is drawn by hand on
# its own pixel grid because plain scaling leaves 1.5 px strokes that blur.
# --------------------------------------------------------------------------

class Layout:
    def __init__(self, tile, border, digits):
        self.tile = tile          # RoundRect of the whole tile
        self.border = border      # border width in pixels
        self.digits = digits      # shapes painted white
        self.inner = RoundRect(tile.x0 + border, tile.y0 + border,
                               tile.x1 - border, tile.y1 - border,
                               tile.r - border)


def layout_16():
    tile = RoundRect(0, 0, 16, 16, 3)
    one = [
        Rect(4, 3, 6, 13),        # stem, 2 px wide
        Rect(3, 4, 4, 6),         # flag, one column left of the stem
        Rect(3, 12, 7, 13),       # foot
    ]
    # At this size an ellipse leaves grey smears in a 2 px hole, so the "0"
    # is a ring with a square hole and corners cut by half a pixel.
    zero = Ring(ConvexPolygon([(9, 3), (13, 3), (14, 4), (14, 12),
                               (13, 13), (9, 13), (8, 12), (8, 4)]),
                Rect(10, 5, 12, 11))
    return Layout(tile, 1, one + [zero])


def layout_scaled(size):
    k = size / 32.0

    def p(v):
        # Snap to whole pixels; floor(x + 0.5) avoids banker's rounding.
        return float(math.floor(v * k + 0.5))

    margin = p(1) if size < 256 else size / 32.0
    tile = RoundRect(margin, margin, size - margin, size - margin, 6 * k)
    border = max(1.0, float(math.floor(size / 64.0 + 0.5)))

    def w(v):
        # Stroke widths are snapped as widths, not via their two edges, so
        # equal strokes stay equal whatever the scale.
        return float(max(1, math.floor(v * k + 0.5)))

    top, bottom = p(7.0), p(25.0)
    stroke = w(3.25)
    stem_l = p(9.0)
    one = [
        Rect(stem_l, top, stem_l + stroke, bottom),
        # Flag: a short bar slanting down-left from the top of the stem.
        # It starts inside the stem so the two join without a seam.
        ConvexPolygon([(stem_l + 1.0, top),
                       (stem_l + 1.0, top + w(3.5)),
                       (p(5.5), top + w(6.0)),
                       (p(5.5), top + w(2.5))]),
        Rect(p(6.0), bottom - w(2.5), p(15.0), bottom),  # foot
    ]
    zx0, zx1 = p(16.5), p(27.5)
    cap = w(2.75)          # top/bottom stroke of the "0"; sides use stroke
    # Small sizes get a slightly boxier ring so the hole stays open.
    n = 2.0 if size >= 48 else 2.4
    zero = Ring(SuperEllipse(zx0, top, zx1, bottom, n),
                SuperEllipse(zx0 + stroke, top + cap,
                             zx1 - stroke, bottom - cap, n))
    return Layout(tile, border, one + [zero])


def layout_for(size):
    return layout_16() if size == 16 else layout_scaled(size)


# --------------------------------------------------------------------------
# Rasterising with supersampling.
# --------------------------------------------------------------------------

def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def render(size, samples):
    """Return rows of (r, g, b, a) tuples with straight alpha."""
    lay = layout_for(size)
    tile = lay.tile
    height = tile.y1 - tile.y0
    offsets = [(i + 0.5) / samples for i in range(samples)]
    total = samples * samples
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            r = g = b = 0.0
            hits = 0
            for oy in offsets:
                y = j + oy
                for ox in offsets:
                    x = i + ox
                    if not tile.contains(x, y):
                        continue
                    hits += 1
                    if any(d.contains(x, y) for d in lay.digits):
                        c = DIGIT
                    elif not lay.inner.contains(x, y):
                        c = BORDER
                    else:
                        c = lerp(TILE_TOP, TILE_BOTTOM,
                                 (y - tile.y0) / height)
                    r += c[0]
                    g += c[1]
                    b += c[2]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((int(r / hits + 0.5), int(g / hits + 0.5),
                            int(b / hits + 0.5),
                            int(255.0 * hits / total + 0.5)))
        rows.append(row)
    return rows


# --------------------------------------------------------------------------
# Palettes and colour mapping.
# --------------------------------------------------------------------------

# The standard 16-colour Windows (VGA) palette, in its usual index order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette_256():
    # A 6x6x6 colour cube for general use ...
    pal = [(r * 51, g * 51, b * 51)
           for r in range(6) for g in range(6) for b in range(6)]
    # ... greys the cube lacks, for smooth digit edges ...
    pal += [(v, v, v) for v in range(17, 255, 17) if v % 51]
    # ... and the icon's own colours, so the gradient does not band.
    pal += [tuple(int(c + 0.5) for c in lerp(TILE_TOP, TILE_BOTTOM, t / 23.0))
            for t in range(24)]
    pal.append(BORDER)
    mid = lerp(TILE_TOP, TILE_BOTTOM, 0.5)
    pal += [tuple(int(c + 0.5) for c in lerp(mid, DIGIT, t / 6.0))
            for t in range(1, 6)]
    assert len(pal) == 256
    return pal


def srgb_to_lab(rgb):
    # Nearest colour is chosen in CIELAB: in plain RGB distance the blue tile
    # maps to grey in the 16-colour palette, which reads wrong.
    def lin(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4

    r, g, b = (lin(c) for c in rgb)
    x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047
    y = 0.2126 * r + 0.7152 * g + 0.0722 * b
    z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883

    def f(t):
        return t ** (1.0 / 3.0) if t > 216.0 / 24389.0 else \
            (24389.0 / 27.0 * t + 16.0) / 116.0

    fx, fy, fz = f(x), f(y), f(z)
    return (116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz))


class Quantizer:
    def __init__(self, palette):
        self.palette = palette
        self.labs = [srgb_to_lab(c) for c in palette]
        self.cache = {}

    def index(self, rgb):
        if rgb not in self.cache:
            lab = srgb_to_lab(rgb)
            best, best_d = 0, None
            for n, p in enumerate(self.labs):
                d = sum((lab[i] - p[i]) ** 2 for i in range(3))
                if best_d is None or d < best_d:   # first wins on ties
                    best, best_d = n, d
            self.cache[rgb] = best
        return self.cache[rgb]


# --------------------------------------------------------------------------
# Encoders.
# --------------------------------------------------------------------------

def stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def and_mask(pixels):
    """1-bit mask, bottom-up: 1 marks a transparent pixel (alpha < 128)."""
    size = len(pixels)
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride(size, 1))
        for i, px in enumerate(row):
            if px[3] < 128:
                line[i >> 3] |= 0x80 >> (i & 7)
        out += line
    return bytes(out)


def dib(pixels, bits, quantizers):
    size = len(pixels)
    mask = and_mask(pixels)
    xor = bytearray()
    palette = b""
    if bits == 32:
        for row in reversed(pixels):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
    else:
        q = quantizers[bits]
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in q.palette)
        for row in reversed(pixels):
            # Transparent pixels get index 0 (black) under a set mask bit.
            idx = [q.index(px[:3]) if px[3] >= 128 else 0 for px in row]
            line = bytearray(stride(size, bits))
            if bits == 8:
                line[:size] = bytes(idx)
            else:
                for i, v in enumerate(idx):
                    line[i >> 1] |= v << (4 if i % 2 == 0 else 0)
            xor += line
    header = struct.pack(
        "<IiiHHIIiiII",
        40,                    # biSize
        size, size * 2,        # biWidth; biHeight counts XOR + AND bitmaps
        1, bits,               # biPlanes, biBitCount
        0,                     # biCompression = BI_RGB
        len(xor) + len(mask),  # biSizeImage
        0, 0,                  # resolution: unused for icons
        0, 0)                  # biClrUsed / biClrImportant: full palette
    return header + palette + bytes(xor) + mask


def png_chunk(kind, data):
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def png(pixels):
    size = len(pixels)
    bpp = 4
    raw = bytearray()
    prev = bytes(size * bpp)
    for row in pixels:
        cur = bytes(v for px in row for v in px)
        # Pick the filter with the smallest sum of absolute values (the usual
        # heuristic); it shrinks the gradient considerably.
        best = None
        for ftype in range(5):
            out = bytearray(len(cur))
            for n in range(len(cur)):
                left = cur[n - bpp] if n >= bpp else 0
                up = prev[n]
                ul = prev[n - bpp] if n >= bpp else 0
                pred = (0, left, up, (left + up) >> 1,
                        paeth(left, up, ul))[ftype]
                out[n] = (cur[n] - pred) & 0xFF
            score = sum(v if v < 128 else 256 - v for v in out)
            if best is None or score < best[0]:
                best = (score, ftype, out)
        raw.append(best[1])
        raw += best[2]
        prev = cur
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # RGBA, 8-bit
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + png_chunk(b"IEND", b""))


def ico(images):
    """images: list of (size, bits, data) in directory order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        dim = 0 if size >= 256 else size           # 0 means 256
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", dim, dim, colours, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    quantizers = {4: Quantizer(VGA16), 8: Quantizer(palette_256())}
    # 8x8 samples where pixels are few; 4x4 keeps the 256 px render quick.
    rendered = {s: render(s, 8) for s in DIB_SIZES}
    images = [(s, bits, dib(rendered[s], bits, quantizers))
              for bits in DIB_DEPTHS for s in DIB_SIZES]
    images.append((PNG_SIZE, 32, png(render(PNG_SIZE, 4))))
    path = os.path.join(root, "res", "Numvera.ico")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as fh:
        fh.write(ico(images))
    print("wrote %s (%d images)" % (os.path.relpath(path, root), len(images)))


if __name__ == "__main__":
    main()
