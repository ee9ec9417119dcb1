#!/usr/bin/env python3
"""Draws the glyphs of the paragraph alignment chooser and writes them as a PNG file.

Standard library only. Run it from anywhere:

    python3 resources/draw_paralign.py            # writes PARBTNIMG.png beside this script
    python3 resources/draw_paralign.py --out FILE # writes FILE instead
    python3 resources/draw_paralign.py --check    # also decodes the written file and compares it

The picture is 64 by 16 pixels: four 16 by 16 glyphs side by side, in the order of the
alignment index (left, right, centre, justified). Each glyph is six text lines in dark
navy on white; white is the transparent colour of the chooser. Output is deterministic.
"""

import argparse
import os
import struct
import sys
import zlib

GLYPH = 16
COUNT = 4
WIDTH = GLYPH * COUNT
HEIGHT = GLYPH

WHITE = (255, 255, 255)
INK = (0, 0, 128)

# The text lines of a glyph: their rows and lengths (long and short lines alternate).
LINE_ROWS = (2, 4, 6, 8, 10, 12)
LONG, SHORT = 12, 8
MARGIN = 2  # blank columns left and right of the text block


def line_spans(alignment):
    """(first column, length) of each line of one glyph; alignment 0..3."""
    spans = []
    for number, _row in enumerate(LINE_ROWS):
        length = LONG if number % 2 == 0 else SHORT
        if alignment == 3:  # justified: full lines, the last one short and flush left
            length = LONG if number < len(LINE_ROWS) - 1 else SHORT
            start = MARGIN
        elif alignment == 0:
            start = MARGIN
        elif alignment == 1:
            start = GLYPH - MARGIN - length
        else:
            start = (GLYPH - length) // 2
        spans.append((start, length))
    return spans


def draw():
    """The picture as rows of RGB tuples."""
    pixels = [[WHITE] * WIDTH for _ in range(HEIGHT)]
    for alignment in range(COUNT):
        left = alignment * GLYPH
        for row, (start, length) in zip(LINE_ROWS, line_spans(alignment)):
            for x in range(start, start + length):
                pixels[row][left + x] = INK
    return pixels


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(pixels):
    """8-bit RGB, no interlace, filter 0 on every row."""
    height = len(pixels)
    width = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for red, green, blue in row:
            raw += bytes((red, green, blue))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + png_chunk(b"IHDR", header)
        + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + png_chunk(b"IEND", b"")
    )


def decode_png(data):
    """Reads back what encode_png writes (8-bit RGB, filter 0 only)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos = 8
    idat = b""
    width = height = 0
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind = data[pos + 4 : pos + 8]
        body = data[pos + 8 : pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length : pos + 12 + length])
        if crc != zlib.crc32(kind + body) & 0xFFFFFFFF:
            raise ValueError("bad CRC in chunk %r" % kind)
        if kind == b"IHDR":
            width, height, depth, colour, _, _, _ = struct.unpack(">IIBBBBB", body)
            if (depth, colour) != (8, 2):
                raise ValueError("unexpected pixel format")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + 3 * width
    rows = []
    for y in range(height):
        line = raw[y * stride : (y + 1) * stride]
        if line[0] != 0:
            raise ValueError("unexpected row filter")
        rows.append([tuple(line[1 + 3 * x : 4 + 3 * x]) for x in range(width)])
    return rows


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--out", default=os.path.join(here, "PARBTNIMG.png"))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args(argv)

    pixels = draw()
    with open(args.out, "wb") as out:
        out.write(encode_png(pixels))
    if args.check:
        with open(args.out, "rb") as written:
            if decode_png(written.read()) != pixels:
                print("%s: decoded picture differs" % args.out, file=sys.stderr)
                return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
