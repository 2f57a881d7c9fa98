#!/usr/bin/env python3
"""Makes the small sample media the tests use, all of our own making.

  make_media.py OUTPUT_FOLDER

writes tone.wav (a one-second 440 Hz tone), tone.mp3 (the same, encoded with lame)
and picture.png (a 64x48 RGBA gradient with a transparent corner).
"""
import math
import os
import struct
import subprocess
import sys
import wave
import zlib


def write_tone(path, seconds=1.0, rate=22050, frequency=440.0):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        frames = bytearray()
        for i in range(int(seconds * rate)):
            frames += struct.pack("<h", int(12000 * math.sin(2 * math.pi * frequency * i / rate)))
        out.writeframes(bytes(frames))


def write_png(path, width=64, height=48):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            alpha = 0 if x < 8 and y < 8 else 255
            rows += bytes((x * 4 % 256, y * 5 % 256, 128, alpha))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
                  + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    wav = os.path.join(folder, "tone.wav")
    write_tone(wav)
    subprocess.run(["lame", "--quiet", "-b", "64", wav, os.path.join(folder, "tone.mp3")], check=True)
    write_png(os.path.join(folder, "picture.png"))


if __name__ == "__main__":
    main()
