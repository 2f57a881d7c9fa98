#!/usr/bin/python3
"""Lays out the demo's sample game folder as the game installs it, its media drawn and synthesised here.

  demo_media.py GAME_FOLDER

writes the launcher's own files (TCLS/mmog_data.xml, pointing at the live server, and
TCLS/config/VersionServerConfigdynamic.ini; the game has no dirserver.xml or
VersionServerConfig.xml of its own here), TCLS/ui/background_Loading.png (a 1024x768
loading screen), TCLS/music/sound.mp3 (the launcher's own music) and 音乐/夜巡.mp3, another
tune to install. Needs python3-pil, lame and fonts-wqy-microhei.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import wave

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"


def loading_picture(path):
    w, h = 1024, 768
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        t = y / h
        sky = (int(20 + 90 * t), int(24 + 40 * t), int(40 + 10 * t)) if y < 470 else (30, 26, 24)
        for x in range(w):
            px[x, y] = sky
    d = ImageDraw.Draw(im)
    d.ellipse((640, 230, 860, 450), fill=(236, 128, 40))
    skyline = [(0, 520), (80, 520), (80, 430), (150, 430), (150, 470), (230, 470), (230, 380), (300, 380),
               (300, 500), (420, 500), (420, 410), (470, 390), (520, 410), (520, 480), (640, 480), (640, 440),
               (760, 440), (760, 500), (900, 500), (900, 420), (1024, 420), (1024, 768), (0, 768)]
    d.polygon(skyline, fill=(12, 12, 14))
    cx, cy = 512, 300
    for r in (60, 61, 110, 111):
        d.ellipse((cx - r, cy - r, cx + r, cy + r), outline=(255, 96, 32))
    d.line((cx - 140, cy, cx - 20, cy), fill=(255, 96, 32), width=3)
    d.line((cx + 20, cy, cx + 140, cy), fill=(255, 96, 32), width=3)
    d.line((cx, cy - 140, cx, cy - 20), fill=(255, 96, 32), width=3)
    d.line((cx, cy + 20, cx, cy + 140), fill=(255, 96, 32), width=3)
    big = ImageFont.truetype(FONT, 56)
    small = ImageFont.truetype(FONT, 24)
    d.text((60, 60), "示例加载画面", font=big, fill=(255, 140, 20))
    d.text((64, 130), "Vorlane demo loading screen 1024 × 768", font=small, fill=(230, 230, 230))
    d.rectangle((112, 680, 912, 700), outline=(255, 140, 20))
    d.rectangle((114, 682, 600, 698), fill=(255, 140, 20))
    d.text((112, 640), "正在加载…", font=small, fill=(240, 240, 240))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    im.save(path)


def tune(path, notes, rate=22050, beat=0.25):
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "tune.wav")
        with wave.open(wav, "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(2)
            out.setframerate(rate)
            frames = bytearray()
            for n in notes:
                f = 440.0 * 2 ** ((n - 69) / 12)
                count = int(beat * rate)
                for i in range(count):
                    env = min(1.0, i / 400, (count - i) / 800)
                    frames += struct.pack("<h", int(9000 * env * math.sin(2 * math.pi * f * i / rate)))
            out.writeframes(bytes(frames))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["lame", "--quiet", "-b", "64", wav, path], check=True)


def launcher_files(game):
    for rel, data in (("TCLS/mmog_data.xml",
                       b'<?xml version="1.0" encoding="gb2312"?>\r\n<VersionUpdateData>\r\n  <ClientConf>\r\n'
                       b'      <VersionData>\r\n           <Version>1.0.0.500</Version>\r\n      </VersionData>\r\n'
                       b'  </ClientConf>\r\n</VersionUpdateData>'),
                      ("TCLS/config/VersionServerConfigdynamic.ini",
                       b"[versionserver]\r\nsuccessfulserverid=4\r\nsuccessfulport=10008\r\n")):
        path = os.path.join(game, *rel.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)


def main(game):
    launcher_files(game)
    loading_picture(os.path.join(game, "TCLS", "ui", "background_Loading.png"))
    own = [64, 67, 71, 76, 71, 67, 64, 59, 64, 67, 71, 74, 72, 71, 69, 67]
    tune(os.path.join(game, "TCLS", "music", "sound.mp3"), own)
    tune(os.path.join(game, "音乐", "夜巡.mp3"), [57, 60, 64, 69, 64, 60, 57, 55, 57, 60, 62, 64])


if __name__ == "__main__":
    main(sys.argv[1])
