#!/usr/bin/env python3
"""Packs a release: ZIP holding vorlane.exe and 使用说明.txt, and SHA256SUMS beside it.

  release_zip.py EXE README VERSION ZIP

使用说明.txt is the players' part of the README (Chinese first, then English) as plain
text, UTF-8 with a byte-order mark and CR LF line ends, so Notepad on any Windows shows it.
Entry order, times and attributes are fixed, the times taken from SOURCE_DATE_EPOCH, so the
same inputs always give the same bytes. Python's zipfile marks the Chinese name as UTF-8.
"""
import hashlib
import os
import re
import sys
import time
import unicodedata
import zipfile
from pathlib import Path

PLAYERS_SECTIONS = ("## 中文说明（玩家）", "## For players (English)")
INSTRUCTIONS = "使用说明.txt"
WIDTH = 76
# Kept with the text they close or open, never alone at a line's start or end.
CLOSING = set("，。、；：！？）》」』”’,.;:!?)")
OPENING = set("（《「『“‘(")
ZIP_EPOCH = 315532800  # 1980-01-01, the earliest time a zip entry can hold


def section(readme, heading):
    lines = readme.splitlines()
    if heading not in lines:
        raise SystemExit(f"error: the README has no section {heading!r}")
    start = lines.index(heading)
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    return lines[start:end]


def plain(line):
    """The line without Markdown's emphasis, code marks and link syntax."""
    line = re.sub(r"\[([^\]]*)\]\(([^)]*)\)", r"\1 (\2)", line)
    return re.sub(r"\*\*|`", "", line)


def width(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def units(text):
    """[space before, unit] pairs, a unit being what a line may not be broken inside: one
    wide character, or a run of narrow ones, with the punctuation that belongs to it."""
    out = []
    space = ""
    for c in text:
        if c.isspace():
            space = " "
            continue
        joins = out and not space and (
            (width(c) == 1 and width(out[-1][1][-1]) == 1) or c in CLOSING or out[-1][1][-1] in OPENING)
        if joins:
            out[-1][1] += c
        else:
            out.append([space, c])
        space = ""
    return out


def wrap(text, indent=""):
    lines = [""]
    for space, unit in units(text):
        if lines[-1].strip() and width(lines[-1] + space + unit) > WIDTH:
            lines.append(indent + unit)
        else:
            lines[-1] += (space if lines[-1].strip() else "") + unit
    return lines


def players_text(readme, version):
    out = [f"Vorlane {version}", ""]
    for heading in PLAYERS_SECTIONS:
        for line in section(readme, heading):
            line = plain(line).rstrip()
            if line.startswith("#"):
                title = line.lstrip("#").strip()
                out += [title, "=" * width(title)]
            elif line:
                out += wrap(line, "  " if line.startswith("- ") else "")
            elif out[-1]:
                out.append("")
    while not out[-1]:
        out.pop()
    return "\ufeff" + "\r\n".join(out) + "\r\n"


def entry(name, epoch):
    info = zipfile.ZipInfo(name, date_time=time.gmtime(max(epoch, ZIP_EPOCH))[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 0
    info.external_attr = 0
    return info


def main(argv):
    if len(argv) != 5:
        sys.stderr.write(__doc__.splitlines()[2] + "\n")
        return 2
    exe, readme, version, out = Path(argv[1]), Path(argv[2]), argv[3], Path(argv[4])
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    program = exe.read_bytes()
    instructions = players_text(readme.read_text(encoding="utf-8"), version).encode("utf-8")
    out.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(out, "w") as z:
        z.writestr(entry("vorlane.exe", epoch), program, compresslevel=9)
        z.writestr(entry(INSTRUCTIONS, epoch), instructions, compresslevel=9)
    sums = [(hashlib.sha256(out.read_bytes()).hexdigest(), out.name),
            (hashlib.sha256(program).hexdigest(), "vorlane.exe")]
    (out.parent / "SHA256SUMS").write_text("".join(f"{h}  {n}\n" for h, n in sums), encoding="ascii")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
