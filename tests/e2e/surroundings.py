"""What the tests set up and look at around the program: the pages of the loopback web site
(or nothing on its port), the program's other X windows, MP3 files long enough to play
through several clicks, and the demo's sample game folder."""
import importlib.util
import math
import shutil
import struct
import subprocess
import wave

import harness
from harness import REPO

SITE = f"http://127.0.0.1:{harness.WEB_PORT}/"
PORTAL = SITE + "portal?ref=vorlane-test"
OFFICIAL = SITE + "official/"
SERVER = REPO / "tests" / "servers" / "http_server.py"


def _page_maker():
    """The loopback test server's own page texts, so both servers serve the same pages."""
    spec = importlib.util.spec_from_file_location("http_server", SERVER)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def sample_game(test, folder="sample"):
    """The demo's sample game folder, laid out as the game installs it (scripts/demo_media.py)."""
    game = test.make_game(folder)
    # The system's Python, which has the drawing library the script needs (as the demo runs it).
    subprocess.run(["/usr/bin/python3", str(REPO / "scripts" / "demo_media.py"), str(game.root)], check=True,
                   timeout=120)
    return game


def serve_site(test, live_version="1.0.0.1", release="1.0", test_version="2.0.1", maker_encoding="gbk"):
    """Serves the official download page and the maker's page with these versions from
    the run's own web server, which holds the program's port for the whole run."""
    pages = _page_maker()
    web = test.session.web
    web.serve("/web201105/download.shtml", pages.download_page(live_version).encode("gbk"))
    maker = pages.maker_page(release, test_version)
    if maker_encoding == "utf-8":
        web.serve("/", maker.encode("utf-8"), "text/html; charset=utf-8")
    else:
        web.serve("/", maker.encode("gbk"))


def take_site_down(test):
    """Leaves nothing listening on the program's port until the test ends, then brings the
    run's web server back."""
    session = test.session
    session.web.close()

    def restore():
        session.web = harness.WebPages()

    test.addCleanup(restore)


def x_geometry(session, wid):
    """[left, top, width, height] of an X window, and whether it is viewable."""
    info = subprocess.run(["xwininfo", "-id", str(wid)], env=session.env, capture_output=True, timeout=15)
    fields = {}
    for line in info.stdout.decode(errors="replace").splitlines():
        key, _, value = line.strip().partition(":")
        fields[key] = value.strip()
    if "Width" not in fields:
        return None, False
    rect = [int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
            int(fields["Width"]), int(fields["Height"])]
    return rect, fields.get("Map State") == "IsViewable"


def program_windows(session):
    """The viewable X windows of vorlane.exe (named or not, larger than Wine's 1x1 helpers):
    {id: [left, top, width, height]}."""
    ids = session.xdotool("search", "--onlyvisible", "--class", r"^vorlane\.exe$").split()
    found = {}
    for wid in ids:
        rect, viewable = x_geometry(session, wid)
        if viewable and rect[2] > 1 and rect[3] > 1:
            found[wid] = rect
    return found


def tone_mp3(path, seconds, frequency):
    """Writes an MP3 of a `seconds` long sine tone to `path` (with lame); returns its bytes."""
    wav = path.with_suffix(".wav")
    rate = 16000
    with wave.open(str(wav), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * frequency * i / rate)))
                                 for i in range(int(seconds * rate))))
    if not shutil.which("lame"):
        raise harness.SetupError("lame is not installed")
    subprocess.run(["lame", "--quiet", "-b", "32", str(wav), str(path)], check=True, timeout=60)
    wav.unlink()
    return path.read_bytes()

