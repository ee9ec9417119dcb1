#!/usr/bin/env python3
"""Draws the nine images of the produced quiz site and writes them as GIF89a files.

Standard library only. Run it from anywhere:

    python3 resources/draw_images.py            # writes the nine .gif files beside this script
    python3 resources/draw_images.py --out DIR  # writes them into DIR instead
    python3 resources/draw_images.py --check    # also decodes every written file and compares it

Each picture is described with a few vector shapes that are filled with 6 x 6 samples per
pixel, so edges come out smooth. The result is reduced to at most 255 colours; pixels that
are mostly uncovered become the transparent colour, and partly covered edge pixels are
blended with the colour of the page behind the image (white, or light grey for the three
marks of the results table, whose cells are LIGHTGREY). Output is deterministic: running
the script again gives the same bytes.
"""

import argparse
import math
import os
import sys

SAMPLES = 6  # samples per pixel along each axis
ALPHA_CUT = 0.3  # coverage below which a pixel is left transparent

WHITE = (255, 255, 255)
LIGHTGREY = (211, 211, 211)


# ---------------------------------------------------------------------------
# Shapes: each has a bounding box (x0, y0, x1, y1) in pixel units and a test
# contains(x, y). Pixel (i, j) covers the square [i, i+1) x [j, j+1).
# ---------------------------------------------------------------------------


class Shape:
    def __init__(self, bbox, contains):
        self.bbox = bbox
        self.contains = contains

    def __sub__(self, other):
        return Shape(self.bbox, lambda x, y: self.contains(x, y) and not other.contains(x, y))

    def __and__(self, other):
        a, b = self.bbox, other.bbox
        box = (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))
        return Shape(box, lambda x, y: self.contains(x, y) and other.contains(x, y))

    def __or__(self, other):
        a, b = self.bbox, other.bbox
        box = (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))
        return Shape(box, lambda x, y: self.contains(x, y) or other.contains(x, y))


def circle(cx, cy, r):
    r2 = r * r
    return Shape((cx - r, cy - r, cx + r, cy + r), lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2)


def ring(cx, cy, r_out, r_in):
    return circle(cx, cy, r_out) - circle(cx, cy, r_in)


def rect(x0, y0, x1, y1):
    return Shape((x0, y0, x1, y1), lambda x, y: x0 <= x <= x1 and y0 <= y <= y1)


def round_rect(x0, y0, x1, y1, r):
    def contains(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r

    return Shape((x0, y0, x1, y1), contains)


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def contains(x, y):
        inside = False
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > y) != (yb > y):
                if x < xa + (y - ya) * (xb - xa) / (yb - ya):
                    inside = not inside
        return inside

    return Shape((min(xs), min(ys), max(xs), max(ys)), contains)


def _segment_distance2(x, y, xa, ya, xb, yb):
    dx, dy = xb - xa, yb - ya
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / length2))
    px, py = xa + t * dx - x, ya + t * dy - y
    return px * px + py * py


def stroke(points, width):
    """A polyline of the given width with round ends and joins."""
    half = width / 2.0
    h2 = half * half
    segments = list(zip(points, points[1:]))
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def contains(x, y):
        return any(_segment_distance2(x, y, a[0], a[1], b[0], b[1]) <= h2 for a, b in segments)

    return Shape((min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), contains)


def arc(cx, cy, r, width, start_deg, end_deg):
    """A stroked arc, angles in degrees measured clockwise on screen from the positive x axis,
    running from start_deg to end_deg (end_deg > start_deg), with square-cut ends."""
    band = ring(cx, cy, r + width / 2.0, r - width / 2.0)

    def in_range(x, y):
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360.0
        return (a - start_deg) % 360.0 <= (end_deg - start_deg)

    return Shape(band.bbox, lambda x, y: band.contains(x, y) and in_range(x, y))


# ---------------------------------------------------------------------------
# Painting: a canvas of straight (not premultiplied) RGBA floats.
# A colour is an (r, g, b) tuple or a function (x, y) -> (r, g, b) evaluated at
# the pixel centre, which gives gradients.
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height, matte):
        self.width = width
        self.height = height
        self.matte = matte
        self.pixels = [[(0.0, 0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def fill(self, shape, colour, opacity=1.0):
        x0, y0, x1, y1 = shape.bbox
        n = SAMPLES
        offsets = [(k + 0.5) / n for k in range(n)]
        for j in range(max(0, int(math.floor(y0))), min(self.height, int(math.ceil(y1)) + 1)):
            for i in range(max(0, int(math.floor(x0))), min(self.width, int(math.ceil(x1)) + 1)):
                hits = sum(1 for oy in offsets for ox in offsets if shape.contains(i + ox, j + oy))
                if hits == 0:
                    continue
                alpha = opacity * hits / (n * n)
                rgb = colour(i + 0.5, j + 0.5) if callable(colour) else colour
                self._blend(i, j, rgb, alpha)

    def _blend(self, i, j, rgb, alpha):
        r, g, b, a = self.pixels[j][i]
        out_a = alpha + a * (1.0 - alpha)
        if out_a <= 0.0:
            return
        keep = a * (1.0 - alpha)
        self.pixels[j][i] = (
            (rgb[0] * alpha + r * keep) / out_a,
            (rgb[1] * alpha + g * keep) / out_a,
            (rgb[2] * alpha + b * keep) / out_a,
            out_a,
        )

    def flatten(self):
        """Rows of (r, g, b) integer tuples, or None for a transparent pixel."""
        rows = []
        for row in self.pixels:
            out = []
            for r, g, b, a in row:
                if a < ALPHA_CUT:
                    out.append(None)
                    continue
                m = self.matte
                out.append(
                    tuple(
                        int(round(max(0.0, min(255.0, c * a + mc * (1.0 - a)))))
                        for c, mc in zip((r, g, b), m)
                    )
                )
            rows.append(out)
        return rows


def mix(c1, c2, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def vertical_gradient(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, (y - y0) / (y1 - y0))


def radial_gradient(inner, outer, cx, cy, r):
    return lambda x, y: mix(inner, outer, math.hypot(x - cx, y - cy) / r)


# ---------------------------------------------------------------------------
# Colour reduction: median cut down to at most `limit` colours.
# ---------------------------------------------------------------------------


def reduce_colours(rows, limit):
    counts = {}
    for row in rows:
        for c in row:
            if c is not None:
                counts[c] = counts.get(c, 0) + 1
    colours = sorted(counts)
    if len(colours) <= limit:
        return colours, {c: c for c in colours}

    boxes = [colours]
    while len(boxes) < limit:
        # Split the box with the widest channel range (ties: the most pixels).
        def spread(box):
            ranges = [max(c[k] for c in box) - min(c[k] for c in box) for k in range(3)]
            return max(ranges), sum(counts[c] for c in box)

        candidates = [b for b in boxes if len(b) > 1]
        if not candidates:
            break
        box = max(candidates, key=spread)
        boxes.remove(box)
        ranges = [max(c[k] for c in box) - min(c[k] for c in box) for k in range(3)]
        channel = ranges.index(max(ranges))
        box = sorted(box, key=lambda c: (c[channel], c))
        total = sum(counts[c] for c in box)
        acc, cut = 0, 1
        for idx, c in enumerate(box[:-1]):
            acc += counts[c]
            cut = idx + 1
            if acc * 2 >= total:
                break
        boxes.extend([box[:cut], box[cut:]])

    mapping = {}
    palette = set()
    for box in boxes:
        weight = sum(counts[c] for c in box)
        mean = tuple(int(round(sum(c[k] * counts[c] for c in box) / weight)) for k in range(3))
        palette.add(mean)
        for c in box:
            mapping[c] = mean
    return sorted(palette), mapping


# ---------------------------------------------------------------------------
# GIF89a encoding
# ---------------------------------------------------------------------------


def lzw_encode(indices, min_code_size):
    """LZW as GIF wants it: variable-width codes packed LSB first, starting with a clear code,
    growing up to 12 bits and emitting a clear code when the table is full."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh():
        return {}, min_code_size + 1, end + 1

    table, code_size, next_code = fresh()
    emit(clear, code_size)
    if not indices:
        emit(end, code_size)
    else:
        prefix = indices[0]
        for k in indices[1:]:
            key = (prefix, k)
            if key in table:
                prefix = table[key]
                continue
            emit(prefix, code_size)
            if next_code < 4096:
                table[key] = next_code
                if next_code >= (1 << code_size) and code_size < 12:
                    code_size += 1
                next_code += 1
            else:
                emit(clear, code_size)
                table, code_size, next_code = fresh()
            prefix = k
        emit(prefix, code_size)
        emit(end, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for pos in range(0, len(data), 255):
        chunk = data[pos : pos + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def encode_gif(width, height, palette, indices, transparent=None):
    """palette: list of (r, g, b), at most 256; indices: width*height palette indices."""
    assert 1 <= len(palette) <= 256 and len(indices) == width * height
    table_bits = max(1, (len(palette) - 1).bit_length())
    table = list(palette) + [(0, 0, 0)] * ((1 << table_bits) - len(palette))
    out = bytearray(b"GIF89a")
    out += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    # Global colour table present, 8 bits per primary in the source, table size.
    out.append(0x80 | (7 << 4) | (table_bits - 1))
    out.append(transparent if transparent is not None else 0)  # background colour index
    out.append(0)  # no aspect ratio
    for c in table:
        out += bytes(c)
    if transparent is not None:
        # Graphic Control Extension: no disposal, no delay, transparent colour flag set.
        out += bytes([0x21, 0xF9, 4, 0x01, 0, 0, transparent, 0])
    out.append(0x2C)
    out += (0).to_bytes(2, "little") * 2
    out += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out.append(0)  # no local colour table, not interlaced
    min_code_size = max(2, table_bits)
    out.append(min_code_size)
    out += sub_blocks(lzw_encode(indices, min_code_size))
    out.append(0x3B)
    return bytes(out)


def canvas_to_gif(canvas):
    rows = canvas.flatten()
    has_transparency = any(c is None for row in rows for c in row)
    limit = 255 if has_transparency else 256
    colours, mapping = reduce_colours(rows, limit)
    palette = []
    transparent = None
    if has_transparency:
        # Index 0 is the transparent colour; it carries the matte so that a viewer
        # ignoring transparency still shows the right background.
        transparent = 0
        palette.append(tuple(canvas.matte))
    index_of = {}
    for c in colours:
        index_of[c] = len(palette)
        palette.append(c)
    indices = [transparent if c is None else index_of[mapping[c]] for row in rows for c in row]
    return encode_gif(canvas.width, canvas.height, palette, indices, transparent)


# ---------------------------------------------------------------------------
# GIF decoding (used by --check to read the written files back)
# ---------------------------------------------------------------------------


def decode_gif(data):
    """Returns (width, height, palette, indices, transparent) of a single-image GIF89a."""
    if data[:6] != b"GIF89a":
        raise ValueError("not a GIF89a file")
    width = int.from_bytes(data[6:8], "little")
    height = int.from_bytes(data[8:10], "little")
    packed = data[10]
    pos = 13
    palette = []
    if packed & 0x80:
        size = 1 << ((packed & 7) + 1)
        palette = [tuple(data[pos + 3 * k : pos + 3 * k + 3]) for k in range(size)]
        pos += 3 * size
    transparent = None
    indices = None
    while True:
        block = data[pos]
        pos += 1
        if block == 0x3B:
            break
        if block == 0x21:
            label = data[pos]
            pos += 1
            payload = bytearray()
            while data[pos]:
                payload += data[pos + 1 : pos + 1 + data[pos]]
                pos += 1 + data[pos]
            pos += 1
            if label == 0xF9 and payload[0] & 1:
                transparent = payload[3]
        elif block == 0x2C:
            w = int.from_bytes(data[pos + 4 : pos + 6], "little")
            h = int.from_bytes(data[pos + 6 : pos + 8], "little")
            if data[pos + 8] & 0xC0:
                raise ValueError("local colour tables and interlacing are not expected here")
            pos += 9
            min_code_size = data[pos]
            pos += 1
            payload = bytearray()
            while data[pos]:
                payload += data[pos + 1 : pos + 1 + data[pos]]
                pos += 1 + data[pos]
            pos += 1
            indices = lzw_decode(bytes(payload), min_code_size)
            if len(indices) != w * h:
                raise ValueError("image data holds %d pixels, not %d" % (len(indices), w * h))
        else:
            raise ValueError("unknown block 0x%02X" % block)
    if pos != len(data):
        raise ValueError("bytes after the trailer")
    return width, height, palette, indices, transparent


def lzw_decode(data, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    bit_pos = 0
    total_bits = len(data) * 8
    out = []
    table = None
    code_size = min_code_size + 1
    prev = None
    while bit_pos + code_size <= total_bits:
        code = 0
        for k in range(code_size):
            byte = data[(bit_pos + k) >> 3]
            code |= ((byte >> ((bit_pos + k) & 7)) & 1) << k
        bit_pos += code_size
        if code == clear:
            table = [[k] for k in range(clear)] + [None, None]
            code_size = min_code_size + 1
            prev = None
            continue
        if code == end:
            return out
        if table is None:
            raise ValueError("image data does not start with a clear code")
        if prev is None:
            entry = table[code]
        else:
            if code < len(table):
                entry = table[code]
            elif code == len(table):
                entry = prev + [prev[0]]
            else:
                raise ValueError("LZW code out of range")
            if len(table) < 4096:
                table.append(prev + [entry[0]])
        out.extend(entry)
        prev = entry
        if len(table) >= (1 << code_size) and code_size < 12:
            code_size += 1
    raise ValueError("image data ends without an end code")


# ---------------------------------------------------------------------------
# The nine pictures
# ---------------------------------------------------------------------------


def check_mark(scale, dx, dy):
    """Points of a check mark drawn in a 10 x 10 box, scaled and moved."""
    base = [(1.0, 5.4), (4.0, 8.2), (9.0, 2.0)]
    return [(dx + x * scale, dy + y * scale) for x, y in base]


def draw_logo():
    """A blue speech bubble with a white check mark: a question and its right answer."""
    c = Canvas(34, 37, WHITE)
    body = round_rect(1.5, 1.5, 32.5, 28.5, 7.0)
    tail = polygon([(7.0, 26.0), (16.0, 26.0), (6.5, 35.5)])
    bubble = body | tail
    shadow_body = round_rect(2.5, 2.5, 33.5, 29.5, 7.0) | polygon([(8.0, 27.0), (17.0, 27.0), (7.5, 36.5)])
    c.fill(shadow_body, (120, 120, 140), 0.35)
    c.fill(bubble, (22, 64, 140))
    inner = round_rect(2.6, 2.6, 31.4, 27.4, 6.0) | polygon([(8.0, 25.0), (14.0, 25.0), (7.6, 32.6)])
    c.fill(inner, vertical_gradient((92, 156, 236), (30, 90, 190), 2.6, 30.0))
    # Soft highlight across the upper half.
    c.fill(round_rect(4.0, 3.6, 30.0, 13.0, 5.0), (255, 255, 255), 0.18)
    c.fill(stroke(check_mark(2.2, 5.9, 3.1), 4.4), (20, 50, 110), 0.45)
    c.fill(stroke(check_mark(2.2, 5.6, 2.6), 4.0), (255, 255, 255))
    return c


def draw_bullet(base, light, dark):
    """A shiny ball: dark rim, lit from the upper left."""
    c = Canvas(20, 20, WHITE)
    c.fill(circle(10.0, 10.0, 8.8), dark)
    c.fill(circle(10.0, 10.0, 7.9), radial_gradient(light, base, 7.6, 7.2, 10.0))
    c.fill(circle(7.6, 7.0, 2.6), (255, 255, 255), 0.55)
    return c


def arrow_shape(cx, cy, size, pointing_right):
    """A block arrow centred on (cx, cy); size is its half length."""
    s = size
    head = 0.95 * s  # length of the head
    half_head = 0.95 * s  # half height of the head
    half_shaft = 0.38 * s
    pts = [
        (-s, -half_shaft),
        (s - head, -half_shaft),
        (s - head, -half_head),
        (s, 0.0),
        (s - head, half_head),
        (s - head, half_shaft),
        (-s, half_shaft),
    ]
    sign = 1.0 if pointing_right else -1.0
    return polygon([(cx + sign * x, cy + y) for x, y in pts])


def draw_button(c, x0, y0, x1, y1, pointing_right):
    """A raised rounded button with a white arrow; x0..x1, y0..y1 are its outer edges."""
    c.fill(round_rect(x0, y0, x1, y1, 5.0), (28, 66, 130))
    c.fill(round_rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 4.0), vertical_gradient((150, 196, 250), (40, 100, 196), y0, y1))
    # Glossy upper half and a darker lower lip make it look pressable.
    c.fill(round_rect(x0 + 2, y0 + 1.6, x1 - 2, (y0 + y1) / 2.0, 3.5), (255, 255, 255), 0.22)
    c.fill(rect(x0 + 3, y1 - 2.2, x1 - 3, y1 - 1.0), (20, 50, 110), 0.35)
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    c.fill(arrow_shape(cx + 0.6, cy + 0.8, 8.0, pointing_right), (20, 45, 100), 0.5)
    c.fill(arrow_shape(cx, cy, 8.0, pointing_right), (255, 255, 255))


def draw_nav():
    """Two buttons: "previous" on pixels 1..30 x 1..30, "next" on pixels 32..66 x 1..30,
    the two areas of the menu's image map."""
    c = Canvas(68, 32, WHITE)
    draw_button(c, 1.0, 1.0, 31.0, 31.0, pointing_right=False)
    draw_button(c, 32.0, 1.0, 67.0, 31.0, pointing_right=True)
    return c


def draw_restart():
    """A circular arrow turning clockwise, open at the upper right, its head at the top."""
    c = Canvas(19, 19, WHITE)
    cx, cy, r = 9.5, 10.7, 5.5
    colour = (30, 110, 200)
    start, end = 345.0, 268.0  # degrees, clockwise on screen from the positive x axis
    c.fill(arc(cx, cy, r, 2.6, start, end + 360.0), colour)
    a = math.radians(end)
    ex, ey = cx + r * math.cos(a), cy + r * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)  # direction of growing angle: clockwise on screen
    nx, ny = math.cos(a), math.sin(a)  # outward normal
    tip = (ex + tx * 5.4, ey + ty * 5.4)
    wing_out = (ex + nx * 4.1 - tx * 0.5, ey + ny * 4.1 - ty * 0.5)
    wing_in = (ex - nx * 4.1 - tx * 0.5, ey - ny * 4.1 - ty * 0.5)
    c.fill(polygon([tip, wing_out, wing_in]), colour)
    return c


def draw_results():
    """A sheet with a folded corner carrying a small bar chart."""
    c = Canvas(23, 26, WHITE)
    fold = 6.0
    x0, y0, x1, y1 = 2.0, 1.0, 21.0, 25.0  # on pixel edges, so the 1-pixel border is crisp
    edge = (84, 90, 104)
    c.fill(polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]), edge)
    inner = [(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)]
    c.fill(polygon(inner), vertical_gradient((255, 255, 255), (224, 230, 242), y0, y1))
    c.fill(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), (188, 196, 212))
    c.fill(rect(x1 - fold, y0, x1 - fold + 1, y0 + fold), edge)
    c.fill(rect(x1 - fold, y0 + fold - 1, x1, y0 + fold), edge)
    # Bars standing on a base line.
    base = 21.0
    bars = [(5.0, 12.0, (220, 60, 50)), (9.0, 7.0, (240, 170, 20)), (13.0, 14.0, (40, 160, 60))]
    for bx, top, colour in bars:
        c.fill(rect(bx, top, bx + 3.0, base), colour)
        c.fill(rect(bx, top, bx + 1.0, base), (255, 255, 255), 0.3)
    c.fill(rect(4.0, base, 18.0, base + 1.0), edge)
    return c


def draw_mark(width, height, face, rim, symbol):
    """A round mark for the results table (its cells are light grey)."""
    c = Canvas(width, height, LIGHTGREY)
    cx, cy = width / 2.0, height / 2.0
    c.fill(circle(cx, cy, 8.4), rim)
    c.fill(circle(cx, cy, 7.4), radial_gradient(mix(face, (255, 255, 255), 0.35), face, cx - 2.0, cy - 2.5, 9.0))
    c.fill(symbol(cx, cy), (255, 255, 255))
    return c


def dash(cx, cy):
    return round_rect(cx - 5.0, cy - 1.0, cx + 5.0, cy + 1.0, 0.8)


def check(cx, cy):
    return stroke([(cx - 4.2, cy + 0.2), (cx - 1.3, cy + 3.0), (cx + 4.2, cy - 3.2)], 2.4)


def cross(cx, cy):
    d = 3.3
    return stroke([(cx - d, cy - d), (cx + d, cy + d)], 2.4) | stroke([(cx - d, cy + d), (cx + d, cy - d)], 2.4)


IMAGES = [
    ("KWZ", 34, 37, draw_logo),
    ("bGreen", 20, 20, lambda: draw_bullet((40, 170, 40), (190, 250, 170), (20, 100, 20))),
    ("navBtn", 68, 32, draw_nav),
    ("Eval", 19, 19, draw_restart),
    ("bRes", 23, 26, draw_results),
    ("nImg", 18, 18, lambda: draw_mark(18, 18, (128, 128, 128), (80, 80, 80), dash)),
    ("gImg", 19, 18, lambda: draw_mark(19, 18, (30, 160, 50), (15, 100, 30), check)),
    ("bImg", 18, 18, lambda: draw_mark(18, 18, (210, 40, 40), (140, 20, 20), cross)),
    ("bYellow", 20, 20, lambda: draw_bullet((245, 200, 20), (255, 250, 190), (170, 120, 0))),
]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(os.path.abspath(__file__)), help="output folder")
    parser.add_argument("--check", action="store_true", help="decode the written files and compare")
    args = parser.parse_args(argv)

    for name, width, height, draw in IMAGES:
        canvas = draw()
        assert (canvas.width, canvas.height) == (width, height), name
        data = canvas_to_gif(canvas)
        path = os.path.join(args.out, name + ".gif")
        with open(path, "wb") as f:
            f.write(data)
        line = "%-8s %2d x %2d  %4d bytes" % (name, width, height, len(data))
        if args.check:
            w, h, palette, indices, transparent = decode_gif(data)
            expected = canvas.flatten()
            got = [None if k == transparent else palette[k] for k in indices]
            wanted = [c for row in expected for c in row]
            if (w, h) != (width, height) or len(got) != len(wanted):
                raise SystemExit("%s: decoded size differs" % name)
            opaque_same = all((a is None) == (b is None) for a, b in zip(got, wanted))
            if not opaque_same:
                raise SystemExit("%s: transparency differs after decoding" % name)
            line += "  %3d colours, decoded back" % len(set(c for c in got if c is not None))
        print(line)
    if args.check:
        # A larger picture with many colours fills the LZW table several times over.
        import random

        rnd = random.Random(3)
        palette = [(k, 255 - k, (k * 7) % 256) for k in range(256)]
        indices = [rnd.randrange(256) if rnd.random() < 0.7 else 5 for _ in range(200 * 150)]
        w, h, pal, back, _ = decode_gif(encode_gif(200, 150, palette, indices))
        if (w, h) != (200, 150) or back != indices or pal != palette:
            raise SystemExit("LZW round trip of a large picture failed")
        print("LZW round trip of a 200 x 150 picture with 256 colours: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
