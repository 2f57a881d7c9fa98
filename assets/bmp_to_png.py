#!/usr/bin/python3
"""Convert a 24-bit uncompressed BMP into a lossless 24-bit RGB PNG.

Usage: bmp_to_png.py IN.bmp OUT.png

Standard library only, so the build can run it without extra packages.
The output depends only on the input pixels, so rebuilds are reproducible.
"""
import struct
import sys
import zlib


def read_bmp(data):
    """Return (width, height, rows) with rows as top-to-bottom RGB bytes."""
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if header_size < 40 or planes != 1:
        raise ValueError("unsupported BMP header")
    if bits != 24 or compression != 0:
        raise ValueError("only 24-bit uncompressed BMP is supported (got %d bpp, compression %d)" % (bits, compression))
    if width <= 0 or height == 0:
        raise ValueError("bad BMP size")
    bottom_up = height > 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    if offset + stride * height > len(data):
        raise ValueError("truncated BMP pixel data")
    rows = []
    for y in range(height):
        src = y if not bottom_up else height - 1 - y
        start = offset + src * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3] = bgr[2::3]
        rgb[1::3] = bgr[1::3]
        rgb[2::3] = bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(row, prev, bpp):
    """Try every PNG filter and keep the one with the smallest sum of signed
    residuals (the usual heuristic); ties go to the lowest filter number."""
    n = len(row)
    left = bytes(bpp) + row[:n - bpp]
    upleft = bytes(bpp) + prev[:n - bpp]
    candidates = [
        row,
        bytes((row[i] - left[i]) & 0xFF for i in range(n)),
        bytes((row[i] - prev[i]) & 0xFF for i in range(n)),
        bytes((row[i] - ((left[i] + prev[i]) >> 1)) & 0xFF for i in range(n)),
        bytes((row[i] - _paeth(left[i], prev[i], upleft[i])) & 0xFF for i in range(n)),
    ]
    best, best_cost = 0, None
    for kind, out in enumerate(candidates):
        cost = sum(v if v < 128 else 256 - v for v in out)
        if best_cost is None or cost < best_cost:
            best, best_cost = kind, cost
    return bytes([best]) + candidates[best]


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(width, height, rows, channels=3):
    """PNG bytes for 8-bit RGB (channels=3) or RGBA (channels=4) rows."""
    color_type = {3: 2, 4: 6}[channels]
    raw = bytearray()
    prev = bytes(width * channels)
    for row in rows:
        if len(row) != width * channels:
            raise ValueError("row length does not match width")
        raw += _filter_row(row, prev, channels)
        prev = row
    ihdr = struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: bmp_to_png.py IN.bmp OUT.png\n")
        return 2
    with open(argv[1], "rb") as f:
        width, height, rows = read_bmp(f.read())
    with open(argv[2], "wb") as f:
        f.write(encode_png(width, height, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
