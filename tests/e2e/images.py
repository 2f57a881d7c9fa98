"""Pixels for the end-to-end tests: screenshots read as RGB, and small PNG files written
with the standard library only."""
import struct
import zlib


class Image:
    """An RGB picture, 3 bytes a pixel, rows top to bottom."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise ValueError(f"{width}x{height} RGB needs {width * height * 3} bytes, got {len(data)}")
        self.width = width
        self.height = height
        self.data = bytes(data)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) outside {self.width}x{self.height}")
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def crop(self, left, top, width, height):
        rows = []
        for y in range(top, top + height):
            start = (y * self.width + left) * 3
            rows.append(self.data[start:start + width * 3])
        return Image(width, height, b"".join(rows))

    def save_png(self, path):
        rows = b"".join(b"\x00" + self.data[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))
        with open(path, "wb") as out:
            out.write(png_bytes(self.width, self.height, rows))


def parse_ppm(blob):
    """Reads a binary PPM (P6, maxval 255), as ImageMagick writes it."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        end = pos
        while not blob[end:end + 1].isspace():
            end += 1
        fields.append(blob[pos:end])
        pos = end
    magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic != b"P6" or maxval != 255:
        raise ValueError(f"not an 8-bit P6 picture: {magic!r}, maxval {maxval}")
    pos += 1
    return Image(width, height, blob[pos:pos + width * height * 3])


def png_bytes(width, height, filtered_rows, colour_type=2):
    """A PNG file from rows that each start with their filter byte (8-bit RGB by default)."""
    def chunk(kind, payload):
        return (struct.pack(">I", len(payload)) + kind + payload
                + struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(filtered_rows, 9))
            + chunk(b"IEND", b""))


def block_picture(width, height, block, colours):
    """A PNG of square blocks of `block` pixels; the block in column c, row r has
    colours[(r * columns + c) % len(colours)]. Returns (png bytes, colour_at(x, y))."""
    columns = (width + block - 1) // block

    def colour_at(x, y):
        return colours[((y // block) * columns + x // block) % len(colours)]

    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows += bytes(colour_at(x, y))
    return png_bytes(width, height, bytes(rows)), colour_at
