#!/usr/bin/env python3
"""Draws Tapster's icons and writes them as Windows .ico files into res/.

    python3 tools/make_icons.py [--out DIR]

The icons are drawn from geometry rather than kept as hand-edited bitmaps so
that every size is rendered for its own pixel grid (small sizes get thicker
strokes snapped to whole pixels) and so that a change of colour or shape is a
one-line edit. Only the standard library is used, so any Python 3 can rebuild
them; the output is deterministic, and the .ico files are committed.

Every image is a 32-bit BGRA DIB with its AND mask, which every Windows
version and every resource compiler accepts. PNG-compressed entries would be
smaller but the largest image here is 64 px, so the whole file stays small.
"""

import argparse
import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Signed distance shapes, in pixel units: negative inside, positive outside.
# Each must return a true distance (or an underestimate of it) so the
# rasteriser can skip supersampling for pixels far from any edge.


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(px, py):
        qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return sdf


def stroke(points, width):
    """A polyline with round caps and joins; round ends keep the mark friendly
    and survive downscaling better than mitres, which turn into spikes."""
    half = width / 2
    segments = list(zip(points, points[1:]))

    def sdf(px, py):
        return min(_segment_distance(px, py, a[0], a[1], b[0], b[1]) for a, b in segments) - half

    return sdf


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def sdf(px, py):
        distance = min(_segment_distance(px, py, a[0], a[1], b[0], b[1]) for a, b in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -distance if inside else distance

    return sdf


def grow(sdf, amount):
    """Offsets a shape outward, rounding its corners: used for outlines."""
    return lambda px, py: sdf(px, py) - amount


def shifted(sdf, dx, dy):
    return lambda px, py: sdf(px - dx, py - dy)


# ---------------------------------------------------------------------------
# Paints return a straight (not premultiplied) RGBA colour, components 0..1.


def rgb(hex_colour, alpha=1.0):
    value = int(hex_colour.lstrip("#"), 16)
    return ((value >> 16 & 255) / 255, (value >> 8 & 255) / 255, (value & 255) / 255, alpha)


def solid(colour):
    return lambda px, py: colour


def vertical_gradient(top, bottom, y0, y1):
    def paint(px, py):
        t = max(0.0, min(1.0, (py - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return paint


# ---------------------------------------------------------------------------


class Canvas:
    SUBSAMPLES = 8  # per axis, for pixels that straddle an edge

    def __init__(self, size):
        self.size = size
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]  # premultiplied

    def _coverage(self, sdf, x, y):
        d = sdf(x + 0.5, y + 0.5)
        # Half a pixel diagonal: anything further from the edge is fully in or out.
        if d >= 0.71:
            return 0.0
        if d <= -0.71:
            return 1.0
        n = self.SUBSAMPLES
        hits = 0
        for j in range(n):
            sy = y + (j + 0.5) / n
            for i in range(n):
                if sdf(x + (i + 0.5) / n, sy) < 0:
                    hits += 1
        return hits / (n * n)

    def fill(self, sdf, paint, opacity=1.0):
        for y in range(self.size):
            for x in range(self.size):
                cover = self._coverage(sdf, x, y)
                if cover > 0:
                    self._blend(x, y, paint(x + 0.5, y + 0.5), cover * opacity)

    def soft_fill(self, sdf, paint, blur):
        """A blurred shape, for shadows: coverage ramps across `blur` pixels."""
        for y in range(self.size):
            for x in range(self.size):
                d = sdf(x + 0.5, y + 0.5)
                t = max(0.0, min(1.0, 0.5 - d / blur))
                cover = t * t * (3 - 2 * t)
                if cover > 0:
                    self._blend(x, y, paint(x + 0.5, y + 0.5), cover)

    def _blend(self, x, y, colour, cover):
        r, g, b, a = colour
        a *= cover
        dst = self.pixels[y * self.size + x]
        keep = 1.0 - a
        dst[0] = r * a + dst[0] * keep
        dst[1] = g * a + dst[1] * keep
        dst[2] = b * a + dst[2] * keep
        dst[3] = a + dst[3] * keep

    def rgba_rows(self):
        """Top-down rows of straight-alpha (r, g, b, a) byte tuples."""
        rows = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r, g, b, a = self.pixels[y * self.size + x]
                if a <= 0.5 / 255:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(_byte(c / a) for c in (r, g, b)) + (_byte(a),))
            rows.append(row)
        return rows


def _byte(value):
    return max(0, min(255, int(round(value * 255))))


# ---------------------------------------------------------------------------
# The application icon: a blue rounded tile with a white check mark, and from
# 32 px up a small arrow pointer "tapping" it. Below that the pointer is a
# smudge that costs the check mark its legibility, so it is left out.

TILE_TOP = rgb("#4A90E2")
TILE_BOTTOM = rgb("#2463C4")
TILE_RIM = rgb("#174A9C")
MARK_WHITE = rgb("#FFFFFF")
MARK_SHADOW = rgb("#0E3470", 0.35)
POINTER_FILL = rgb("#FFFFFF")
POINTER_EDGE = rgb("#0F2E5E")

# The classic arrow pointer, tip at the origin, about 11 by 18 units.
POINTER_SHAPE = [(0, 0), (0, 15.5), (3.6, 12.2), (6.3, 18.2), (8.7, 17.1), (6.1, 11.3), (11, 11.3)]


def _snap(value, step=0.5):
    return round(value / step) * step


def draw_app_icon(size):
    s = float(size)
    c = Canvas(size)

    # Small sizes use the whole cell so the tile edges land on pixel
    # boundaries; larger ones keep a margin of a 32nd, in whole pixels.
    margin = 0.0 if size <= 20 else _snap(s / 32, 1.0)
    x0, y0, x1, y1 = margin, margin, s - margin, s - margin
    radius = max(2.5, s * 0.2)
    tile = rounded_rect(x0, y0, x1, y1, radius)
    rim_width = 1.0 if size < 48 else s / 48
    c.fill(tile, solid(TILE_RIM))
    c.fill(grow(tile, -rim_width), vertical_gradient(TILE_TOP, TILE_BOTTOM, y0, y1))

    with_pointer = size >= 32
    width = max(2.0, s * (0.12 if with_pointer else 0.15))
    if with_pointer:
        # Up and to the left, leaving the lower right to the pointer, whose
        # tip rests just under the long stroke as if pressing it.
        mark = [(0.20, 0.44), (0.37, 0.61), (0.73, 0.23)]
        points = [(_snap(u * s), _snap(v * s)) for u, v in mark]
    else:
        # Both arms at exactly 45 degrees from a snapped vertex: at tray sizes
        # that turns the edges into even stair steps instead of a blur.
        vx, vy = _snap(0.405 * s), _snap(0.70 * s)
        short, long = _snap(0.19 * s), _snap(0.375 * s)
        points = [(vx - short, vy - short), (vx, vy), (vx + long, vy - long)]
    check = stroke(points, width)
    if size >= 32:
        c.soft_fill(shifted(check, 0, s / 40), solid(MARK_SHADOW), max(1.0, s / 24))
    c.fill(check, solid(MARK_WHITE))

    if with_pointer:
        scale = s * 0.021
        tip_x, tip_y = _snap(s * 0.56), _snap(s * 0.50)
        arrow = polygon([(tip_x + px * scale, tip_y + py * scale) for px, py in POINTER_SHAPE])
        edge = max(1.0, s / 40)
        c.soft_fill(shifted(grow(arrow, edge), s / 48, s / 32), solid(MARK_SHADOW), max(1.0, s / 24))
        c.fill(grow(arrow, edge), solid(POINTER_EDGE))
        c.fill(arrow, solid(POINTER_FILL))
    return c


# ---------------------------------------------------------------------------
# The draggable check mark: a bold green tick with a darker edge so it reads
# on both the light dialog face and a dark theme.

CHECK_TOP = rgb("#4CC75A")
CHECK_BOTTOM = rgb("#1F9433")
CHECK_EDGE = rgb("#136B22")

# Short arm, vertex, long arm tip; _fit scales it into the cell.
TICK_SHAPE = [(0.0, 0.52), (0.36, 0.88), (1.0, 0.0)]


def _fit(shape, size, inset):
    """Scales a unit shape to fill the cell less `inset` on every side, keeping
    its proportions, centred, with the points snapped to half pixels."""
    xs, ys = [p[0] for p in shape], [p[1] for p in shape]
    w, h = max(xs) - min(xs), max(ys) - min(ys)
    room = size - 2 * inset
    scale = room / max(w, h)
    ox = inset + (room - w * scale) / 2 - min(xs) * scale
    oy = inset + (room - h * scale) / 2 - min(ys) * scale
    return [(_snap(ox + x * scale), _snap(oy + y * scale)) for x, y in shape]


def draw_check_mark(size):
    s = float(size)
    c = Canvas(size)
    if size < 24:
        # An edge would eat half the stroke and turn the tick into a smudge;
        # plain green with both arms at 45 degrees stays crisp instead.
        edge, width = 0.0, 3.0
        vx, vy = _snap(0.375 * s), _snap(0.72 * s)
        short, long = _snap(0.22 * s), _snap(0.47 * s)
        points = [(vx - short, vy - short), (vx, vy), (vx + long, vy - long)]
    else:
        edge, width = max(1.0, s / 48), s * 0.17
        points = _fit(TICK_SHAPE, s, edge + width / 2 + s / 64)
    tick = stroke(points, width)
    if edge:
        c.fill(grow(tick, edge), solid(CHECK_EDGE))
    c.fill(tick, vertical_gradient(CHECK_TOP, CHECK_BOTTOM, 0, s))
    return c


# ---------------------------------------------------------------------------
# ICO container


def _dib(rows):
    """A BITMAPINFOHEADER image: height doubled for the AND mask, rows bottom-up."""
    size = len(rows)
    stride = (size + 31) // 32 * 4
    image_bytes = size * size * 4 + stride * size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, image_bytes, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    # The mask still matters where alpha is ignored (old shells, some
    # cursor paths): set means transparent. Rows pad to 32 bits.
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x >> 3] |= 0x80 >> (x & 7)
        mask += line
    return header + bytes(xor) + bytes(mask)


def encode_ico(images):
    """images: list of top-down RGBA row lists, each square."""
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    blobs = []
    for rows in images:
        blob = _dib(rows)
        size = len(rows)
        dimension = 0 if size >= 256 else size  # 0 stands for 256
        out += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def decode_ico(data):
    """Reads back what encode_ico writes; returns {size: top-down RGBA rows}.

    Used to check the written files rather than trusting the encoder, and
    strict about the fields Windows itself is strict about."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    images = {}
    for index in range(count):
        w, h, colours, _, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * index)
        w, h = w or 256, h or 256
        if colours != 0 or planes != 1 or bits != 32 or offset + length > len(data):
            raise ValueError(f"bad directory entry {index}")
        hsize, bw, bh, bplanes, bbits, compression = struct.unpack_from("<IiiHHI", data, offset)
        if (hsize, bw, bh, bplanes, bbits, compression) != (40, w, 2 * h, 1, 32, 0):
            raise ValueError(f"bad bitmap header in entry {index}")
        stride = (w + 31) // 32 * 4
        if length != 40 + w * h * 4 + stride * h:
            raise ValueError(f"entry {index} has the wrong length")
        pixels = offset + 40
        masks = pixels + w * h * 4
        rows = []
        for y in range(h - 1, -1, -1):  # stored bottom-up
            row = []
            for x in range(w):
                b, g, r, a = data[pixels + (y * w + x) * 4:pixels + (y * w + x) * 4 + 4]
                transparent = data[masks + y * stride + (x >> 3)] & (0x80 >> (x & 7))
                if bool(transparent) != (a == 0):
                    raise ValueError(f"mask disagrees with alpha at {x},{y} in entry {index}")
                row.append((r, g, b, a))
            rows.append(row)
        images[w] = rows
    return images


# ---------------------------------------------------------------------------

ICONS = {
    "tapster.ico": (draw_app_icon, [16, 20, 24, 32, 40, 48, 64]),
    "checkmark.ico": (draw_check_mark, [16, 24, 32, 48, 64]),
}

SIZE_LIMIT = 60 * 1024  # they live in the executable; keep them small


def build(name):
    draw, sizes = ICONS[name]
    return encode_ico([draw(size).rgba_rows() for size in sizes])


def main(argv):
    default_out = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "res")
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=default_out, help="directory for the .ico files")
    args = parser.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    for name, (_, sizes) in ICONS.items():
        data = build(name)
        images = decode_ico(data)
        if sorted(images) != sorted(sizes):
            raise SystemExit(f"{name}: sizes came back as {sorted(images)}")
        if len(data) > SIZE_LIMIT:
            raise SystemExit(f"{name}: {len(data)} bytes is over the {SIZE_LIMIT} limit")
        path = os.path.normpath(os.path.join(args.out, name))
        with open(path, "wb") as f:
            f.write(data)
        print(f"{path}: {len(data)} bytes, sizes {', '.join(map(str, sizes))}")


if __name__ == "__main__":
    main(sys.argv[1:])
