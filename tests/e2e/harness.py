"""Drives the real vorlane.exe under Wine on a private Xvfb screen, as a user would.

One Session per run: an Xvfb screen (1280x800x24), the Wine prefix (booted once, reused),
a loopback web server on the port the test build reads its pages from, and a stand-in
browser that records every opened address. Tests of another display DPI get a session
of their own: a larger screen and a copy of the prefix set to that DPI; the program
there reaches the same web server, which holds the port for the whole run.

Per test: a fresh game folder (GameFolder) under build/e2e/<test id>/, the program copied
into it and started with its test log (Vorlane). Tests derive from E2ETestCase, which
stops the program after each test, keeps the folder of a failed test (with a screenshot)
and removes the folder of a passed one.

Every wait is bounded and fails with what the program last logged.
"""
import atexit
import errno
import getpass
import http.server
import json
import os
import re
import select
import shutil
import signal
import subprocess
import threading
import time
import types
import unittest
from pathlib import Path

from images import parse_ppm

REPO = Path(__file__).resolve().parents[2]
HERE = Path(__file__).resolve().parent
SCREEN = (1280, 800)
# The port the test build reads its pages from (VORLANE_TEST_WEB_PORT at configure time).
WEB_PORT = int(os.environ.get("VORLANE_E2E_PORT", "18471"))


class SetupError(RuntimeError):
    """The machine or the build lacks something the tests need."""


def build_folder():
    """The test build the tests run (run.py --build)."""
    return Path(os.environ.get("VORLANE_E2E_BUILD", str(REPO / "build" / "windows-test")))


def configured(name):
    """A setting of the test build's CMake cache: what the program under test was built with."""
    cache = build_folder() / "CMakeCache.txt"
    for line in cache.read_text().splitlines():
        key, _, value = line.partition("=")
        if key.split(":")[0] == name:
            return value
    raise SetupError(f"{cache} has no {name}")


# The window's and the message boxes' title carries the build's version.
TITLE = "Vorlane" + configured("CMAKE_PROJECT_VERSION")


def _control_names(window):
    """The controls of a window by name, bound to their designer ids (which the test log
    writes) as the program's own header binds them."""
    header = (REPO / "src" / "program" / "controls.h").read_text(encoding="utf-8")
    block = header.split(f"namespace vorlane::{window} {{", 1)[1].split("}", 1)[0]
    return types.SimpleNamespace(**dict(re.findall(r'const char\* (\w+) = "([^"]+)";', block)))


controls = _control_names("controls")
preview_controls = _control_names("preview_controls")


def _tail(path, lines=15, width=400):
    try:
        text = Path(path).read_text(encoding="utf-8", errors="replace")
    except OSError:
        return "(none)"
    return "\n".join(line if len(line) <= width else line[:width] + "…" for line in text.splitlines()[-lines:]) \
        or "(empty)"


def _poll(condition, timeout, interval=0.05):
    """Calls condition() until it returns something truthy, at most `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def _signal_group(group, sig):
    try:
        os.killpg(group, sig)
    except ProcessLookupError:
        pass


def _group_alive(group):
    try:
        os.killpg(group, 0)
    except ProcessLookupError:
        return False
    return True


def wait_until(condition, timeout=10, what="the condition"):
    """condition()'s first truthy value within `timeout` seconds; a failure otherwise."""
    value = _poll(condition, timeout)
    if not value:
        raise AssertionError(f"no {what} within {timeout} s")
    return value


def changes(before, after):
    """What differs between two GameFolder snapshots, readably: ["changed X", "added Y", "removed Z"]."""
    return sorted([f"changed {rel}" for rel in before.keys() & after.keys() if before[rel] != after[rel]]
                  + [f"added {rel}" for rel in after.keys() - before.keys()]
                  + [f"removed {rel}" for rel in before.keys() - after.keys()])


class WebPages:
    """The loopback web server the test build's addresses point at. Paths not given
    answer 404; every request is recorded when it comes (`requests`) and counted once
    answered (`answered`). hold() keeps every answer back until release()."""

    def __init__(self, port=WEB_PORT, bind_timeout=30):
        self.pages = {}
        self.requests = []
        self.answered = 0
        self._lock = threading.Lock()
        self._open = threading.Event()
        self._open.set()
        web = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                with web._lock:
                    web.requests.append(self.path)
                web._open.wait()
                with web._lock:
                    page = web.pages.get(self.path) or web.pages.get(self.path.split("?")[0])
                status, content_type, body = page or (404, "text/plain", b"not here")
                self.send_response(status)
                if content_type:
                    self.send_header("Content-Type", content_type)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                with web._lock:
                    web.answered += 1

        class Server(http.server.ThreadingHTTPServer):
            daemon_threads = True

            def handle_error(self, request, client_address):
                pass  # a client that gives up early is no news

        deadline = time.monotonic() + bind_timeout
        while True:
            try:
                self._server = Server(("127.0.0.1", port), Handler)
                break
            except OSError as e:
                if e.errno != errno.EADDRINUSE or time.monotonic() >= deadline:
                    raise SetupError(f"cannot listen on 127.0.0.1:{port} (is another e2e run going?): {e}")
                time.sleep(0.5)
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()

    def serve(self, path, body, content_type="text/html", status=200):
        """Answers GET `path` (with or without its query) with `body` (bytes)."""
        with self._lock:
            self.pages[path] = (status, content_type, body)

    def hold(self):
        """From now on every request waits, unanswered, until release()."""
        self._open.clear()

    def release(self):
        """Answers every held request, and every later one at once."""
        self._open.set()

    def reset(self):
        self.release()
        with self._lock:
            self.pages.clear()
            self.requests.clear()
            self.answered = 0

    def close(self):
        self.release()
        self._server.shutdown()
        self._server.server_close()


class Session:
    """What a run shares: the X screen, the Wine prefix and the web server. A session at
    another DPI copies the prefix of `base` and has no web server of its own."""

    def __init__(self, build_dir, dpi=96, screen=SCREEN, base=None):
        self.dpi = dpi
        self.screen = screen
        self.base = base
        self.build = Path(build_dir).resolve()
        self.exe = self.build / "vorlane.exe"
        self.msgbox_exe = self.build / "msgbox.exe"
        self.accessible_exe = self.build / "accessible.exe"
        self.client_stub = self.build / "client_stub.exe"
        self.planted_dll = self.build / "planted.dll"
        self.pipe_holder = self.build / "pipe_holder.exe"
        for needed in (self.exe, self.msgbox_exe, self.accessible_exe, self.client_stub, self.planted_dll,
                       self.pipe_holder):
            if not needed.is_file():
                raise SetupError(f"{needed} is missing: cmake --preset windows-test && "
                                 f"cmake --build --preset windows-test -j2")
        for tool in ("Xvfb", "xdotool", "xwininfo", "import", "wine", "wineserver"):
            if not shutil.which(tool):
                raise SetupError(f"{tool} is not installed")
        self.root = REPO / "build" / "e2e"
        self.root.mkdir(parents=True, exist_ok=True)
        self.xvfb = None
        self.web = None
        self.env = self._wine_environment()
        try:
            self._start_xvfb()
            self.env["DISPLAY"] = self.display
            self._prepare_prefix()
            # A folder of the prefix's own (scripts/wine-prefix.sh), not $HOME.
            self.desktop = Path(self.env["WINEPREFIX"]) / "drive_c" / "users" / getpass.getuser() / "Desktop"
            self.web = None if base else WebPages()
        except BaseException:
            self.close()
            raise

    def _wine_environment(self):
        env = dict(os.environ)
        prefix = os.environ.get("VORLANE_E2E_PREFIX", str(REPO / "build" / "wineprefix-e2e"))
        env["WINEPREFIX"] = prefix if self.base is None else f"{prefix}-dpi{self.dpi}"
        dump = subprocess.run(["bash", "-c", '. "$1/scripts/wine-env.sh" && env -0', "-", str(REPO)],
                              env=env, capture_output=True, check=True, timeout=30).stdout
        return dict(item.split("=", 1) for item in dump.decode().split("\0") if "=" in item)

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self._xvfb_log = open(self.root / f"xvfb-{self.dpi}.log", "wb")
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.screen[0]}x{self.screen[1]}x24", "-nolisten",
             "tcp"],
            pass_fds=(write_end,), stdout=self._xvfb_log, stderr=subprocess.STDOUT, start_new_session=True)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 0.5)
            if ready:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        if not number.strip().isdigit():
            raise SetupError(f"Xvfb did not start: {_tail(self._xvfb_log.name)}")
        self.display = ":" + number.strip().decode()

    def _prepare_prefix(self):
        env = self.env
        # A server left over from an interrupted run of ours would make the preparation wait for ever.
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=30)
        if self.base is not None:
            self._copy_prefix_at_dpi()
            return
        result = subprocess.run([str(REPO / "scripts" / "wine-prefix.sh"), str(HERE / "browser_recorder.sh")],
                                env=env, capture_output=True, timeout=240)
        if result.returncode != 0:
            raise SetupError(f"scripts/wine-prefix.sh failed: {result.stderr.decode(errors='replace')[-2000:]}")

    def _copy_prefix_at_dpi(self):
        """A copy of the base prefix (its registry written out first) whose display has this DPI;
        Wine reads the DPI when its server starts."""
        subprocess.run(["wineserver", "-w"], env=self.base.env, capture_output=True, timeout=60)
        prefix = Path(self.env["WINEPREFIX"])
        shutil.rmtree(prefix, ignore_errors=True)
        subprocess.run(["cp", "-a", self.base.env["WINEPREFIX"], str(prefix)], check=True, timeout=120)
        result = subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                                 "REG_DWORD", "/d", str(self.dpi), "/f"], env=self.env, capture_output=True, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.env, capture_output=True, timeout=60)
        if result.returncode != 0:
            raise SetupError(f"cannot set the DPI of {prefix}: {result.stderr.decode(errors='replace')[-2000:]}")

    def px(self, units):
        """Device pixels of a length in layout units, rounded half away from zero as the program does."""
        magnitude = (abs(units) * self.dpi * 2 + 96) // 192
        return magnitude if units >= 0 else -magnitude

    def units(self, px):
        """Layout units of a device length, rounded as the program does."""
        magnitude = (abs(px) * 96 * 2 + self.dpi) // (2 * self.dpi)
        return magnitude if px >= 0 else -magnitude

    def workdir(self, test_id):
        path = self.root / test_id
        shutil.rmtree(path, ignore_errors=True)
        path.mkdir(parents=True)
        return path

    def wine(self, program, *args, timeout=30):
        return subprocess.run(["wine", str(program), *args], env=self.env, capture_output=True, timeout=timeout)

    def xdotool(self, *args, timeout=15):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True, timeout=timeout)
        return result.stdout.decode()

    def screenshot(self):
        blob = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, check=True, timeout=30).stdout
        return parse_ppm(blob)

    def x_windows(self, title=TITLE, pid=None):
        """Every X window named `title` (of process `pid`, when given):
        [{"id", "rect": [left, top, width, height], "viewable"}]."""
        owner = ["--all", "--pid", pid] if pid is not None else []
        ids = self.xdotool("search", *owner, "--name", "^" + title.replace(".", r"\.") + "$").split()
        found = []
        for wid in ids:
            info = subprocess.run(["xwininfo", "-id", wid], env=self.env, capture_output=True, timeout=15)
            fields = {}
            for line in info.stdout.decode(errors="replace").splitlines():
                key, _, value = line.strip().partition(":")
                fields[key] = value.strip()
            if "Width" not in fields:
                continue
            rect = [int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                    int(fields["Width"]), int(fields["Height"])]
            found.append({"id": wid, "rect": rect, "viewable": fields.get("Map State") == "IsViewable"})
        return found

    def close(self):
        if self.web:
            self.web.close()
            self.web = None
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=30)
        if getattr(self, "_xvfb_log", None):
            self._xvfb_log.close()
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait(10)
        self.xvfb = None


_sessions = {}
_setup_errors = {}


def session(dpi=96, screen=SCREEN):
    """The run's Session for a display DPI, started on first use and closed at exit. A
    set-up that failed fails every later test at that DPI at once with the same reason."""
    if dpi in _setup_errors:
        raise _setup_errors[dpi]
    if dpi not in _sessions:
        base = None if dpi == 96 else session()
        build = str(build_folder())
        try:
            _sessions[dpi] = Session(build, dpi, screen, base)
        except (SetupError, OSError, subprocess.SubprocessError) as e:
            _setup_errors[dpi] = e
            raise
        if len(_sessions) == 1:
            atexit.register(shutdown)
    return _sessions[dpi]


def shutdown():
    """Closes every session, the one owning the web server last."""
    for dpi in sorted(_sessions, reverse=True):
        _sessions.pop(dpi).close()


class GameFolder:
    """A game client's root folder: TCLS\\ with config\\, ui\\ and music\\ (unless tcls=False),
    the stand-in client as TCLS\\Client.exe (client="stays": it runs until ended, as a game
    does; client=False: none), and optional picture and music files."""

    def __init__(self, root, session_, tcls=True, client=True, picture=None, music=None, backup_music=None):
        self.root = Path(root)
        self.root.mkdir(parents=True, exist_ok=True)
        if tcls:
            for sub in ("TCLS/config", "TCLS/ui", "TCLS/music"):
                (self.root / sub).mkdir(parents=True, exist_ok=True)
            if client:
                shutil.copy(session_.client_stub, self.root / "TCLS" / "Client.exe")
            if client == "stays":
                self.write("TCLS/client_stays_running", b"")
        for rel, data in (("TCLS/ui/background_Loading.png", picture), ("TCLS/music/sound.mp3", music),
                          ("sound.mp3", backup_music)):
            if data is not None:
                self.write(rel, data)

    def path(self, rel=""):
        return self.root / rel.replace("\\", "/")

    def windows_path(self, rel=""):
        """The path as the program sees it (Wine's Z: drive)."""
        full = str(self.path(rel)).rstrip("/") if rel else str(self.root)
        return "Z:" + full.replace("/", "\\")

    def write(self, rel, data):
        target = self.path(rel)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)

    def read(self, rel):
        return self.path(rel).read_bytes()

    def exists(self, rel):
        return self.path(rel).exists()

    def snapshot(self):
        """Every file under the folder but the program itself, with its bytes, by relative path with slashes."""
        return {str(p.relative_to(self.root)): p.read_bytes() for p in sorted(self.root.rglob("*"))
                if p.is_file() and p != self.root / "vorlane.exe"}

    def client_starts(self):
        """One dict per start of TCLS\\Client.exe: command_line, cwd, exe."""
        log = self.path("TCLS/client_started.log")
        if not log.exists():
            return []
        return [json.loads(line) for line in log.read_text(encoding="utf-8").splitlines() if line.strip()]


class Vorlane:
    """The running program in one game folder, seen through its test log, its X windows and the screen."""

    def __init__(self, session_, game, workdir, env=None):
        self.s = session_
        self.game = game
        self.env = env or {}
        self.workdir = Path(workdir)
        self.log_path = self.workdir / "vorlane.log"
        self.browser_log = self.workdir / "browser.log"
        self.wine_log = self.workdir / "wine.log"
        self.proc = None
        self.layout = {}
        self._lines = []
        self._offset = 0

    # Lifetime

    def launch(self, *arguments):
        """Starts the program copied into the game folder, with `arguments`; returns at once.
        A copy already there may be running: it is the same program, and stays."""
        exe = self.game.path("vorlane.exe")
        if not exe.exists():
            shutil.copy(self.s.exe, exe)
        env = dict(self.s.env, VORLANE_TEST_LOG=str(self.log_path), VORLANE_E2E_BROWSER_LOG=str(self.browser_log),
                   **self.env)
        self._wine_out = open(self.wine_log, "wb")
        self.proc = subprocess.Popen(["wine", str(exe), *arguments], cwd=self.game.root, env=env,
                                     stdout=self._wine_out, stderr=subprocess.STDOUT, start_new_session=True)
        return self

    def start(self, timeout=30):
        self.launch()
        self.wait_for_event("created", timeout=timeout)
        for line in self.lines():
            if line.get("layout") == "主窗口":
                self.layout = line["controls"]
        if not self.layout:
            self._fail("the log has no layout line for the main window")
        shown = _poll(lambda: (window := self._main_x_window()) and window["viewable"] and window, 10)
        if not shown:
            self._fail(f"no X window {TITLE!r} of size {self.state['window'][2:]} appeared")
        if [self.s.units(v) for v in shown["rect"]] != self.state["window"]:
            self._fail(f"the X window is at {shown['rect']} but the program logs {self.state['window']} "
                       f"(layout units at {self.s.dpi} DPI)")
        # The first paint has happened once the surface is more than one flat colour.
        self.wait_for_screen(lambda im: len({im.pixel(x, y) for x in range(0, im.width, 97)
                                             for y in range(0, im.height, 53)}) > 1, timeout=10,
                             what="its painted surface")
        return self

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def close(self, timeout=15):
        """Closes the program with its own close button; returns its exit status."""
        self.click(controls.closeButton)
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self._fail(f"the program did not end within {timeout} s of clicking {controls.closeButton}")

    def stop(self):
        """Ends the program whatever its state (message box, dialog, hang), and a stand-in
        client that stays running."""
        self.game.path("TCLS/client_stays_running").unlink(missing_ok=True)
        if self.proc is not None and self.proc.poll() is None:
            _signal_group(self.proc.pid, signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                _signal_group(self.proc.pid, signal.SIGKILL)
                try:
                    self.proc.wait(5)
                except subprocess.TimeoutExpired:
                    subprocess.run(["wineserver", "-k"], env=self.s.env, capture_output=True, timeout=30)
        if self.proc is not None:
            # What the program started through the shell (the browser stand-in) shares its process
            # group; Wine starts a client in a group of its own, which the marker's removal ends.
            if _poll(lambda: not _group_alive(self.proc.pid), 5) is None:
                _signal_group(self.proc.pid, signal.SIGKILL)
                _poll(lambda: not _group_alive(self.proc.pid), 5)
        if self.proc is not None and _poll(lambda: not self.s.x_windows(pid=self.proc.pid), 5) is None:
            subprocess.run(["wineserver", "-k"], env=self.s.env, capture_output=True, timeout=30)
            _poll(lambda: not self.s.x_windows(pid=self.proc.pid), 10)
        if getattr(self, "_wine_out", None):
            self._wine_out.close()
            self._wine_out = None

    # The test log

    def lines(self):
        """Every complete line of the test log so far, parsed."""
        try:
            with open(self.log_path, "rb") as f:
                f.seek(self._offset)
                chunk = f.read()
        except FileNotFoundError:
            return self._lines
        end = chunk.rfind(b"\n") + 1
        for raw in chunk[:end].splitlines():
            if raw.strip():
                self._lines.append(json.loads(raw.decode("utf-8")))
        self._offset += end
        return self._lines

    def mark(self):
        """The position in the log now; waits given it look only at what comes later."""
        return len(self.lines())

    def states(self, since=0):
        return [line for line in self.lines()[since:] if "event" in line]

    @property
    def state(self):
        """The latest state line."""
        states = self.states()
        if not states:
            self._fail("the program has logged no state yet")
        return states[-1]

    def messages(self, since=0):
        """The texts of the message boxes shown since `since`, in order."""
        return [line["message"] for line in self.lines()[since:] if "message" in line]

    def wait_for_state(self, predicate, timeout=10, since=0, what="the expected state"):
        """The first state line from `since` on for which predicate(state) holds."""
        def found():
            for state in self.states(since):
                if predicate(state):
                    return state
            if not self.running():
                self._fail(f"the program ended (status {self.proc.returncode}) while waiting for {what}")
            return None

        state = _poll(found, timeout)
        if state is None:
            self._fail(f"no {what} within {timeout} s")
        return state

    def wait_for_event(self, event, since=0, timeout=10):
        """The first state line of `event` ("created", "clicked 图形按钮2", "tick 时钟1", ...)."""
        return self.wait_for_state(lambda s: s["event"] == event, timeout, since, what=f"{event!r} state line")

    def wait_for_message(self, since=0, timeout=10):
        """Waits for a message box after `since`: logged, and on screen with the program's
        title and the same text. Returns the text."""
        def logged():
            texts = self.messages(since)
            if not texts and not self.running():
                self._fail(f"the program ended (status {self.proc.returncode}) while waiting for a message box")
            return texts

        texts = _poll(logged, timeout)
        if not texts:
            self._fail(f"no message box within {timeout} s")
        text = texts[0]
        shown = _poll(lambda: [b for b in self.visible_messages() if b["text"] == text], timeout)
        if not shown:
            self._fail(f"the message {text!r} was logged but no such box appeared; visible: {self.visible_messages()}")
        if shown[0]["caption"] != TITLE:
            self._fail(f"the message box has the title {shown[0]['caption']!r}, not {TITLE!r}")
        return text

    # Message boxes

    def visible_messages(self):
        """The visible message boxes: [{"hwnd", "caption", "text"}]."""
        result = self.s.wine(self.s.msgbox_exe, "list")
        return [json.loads(line) for line in result.stdout.decode("utf-8").splitlines() if line.strip()]

    def dismiss_message(self, timeout=10):
        """Presses OK on the visible message box and waits until it is gone."""
        boxes = _poll(self.visible_messages, timeout)
        if not boxes:
            self._fail(f"no message box to dismiss within {timeout} s")
        self.s.wine(self.s.msgbox_exe, "dismiss")
        gone = {b["hwnd"] for b in boxes}
        if _poll(lambda: not gone & {b["hwnd"] for b in self.visible_messages()}, timeout) is None:
            self._fail(f"the message box did not close within {timeout} s of pressing OK")

    # What a screen reader reads

    def accessible(self, what="tree", title=TITLE):
        """The program window titled `title` as oleacc reads it: "tree" gives its client area
        and then each child, "focus" the object with the keyboard focus;
        [{"depth", "role", "name", "states"}]."""
        result = self.s.wine(self.s.accessible_exe, what, title)
        return [json.loads(line) for line in result.stdout.decode("utf-8").splitlines() if line.strip()]

    def wait_for_focus(self, role, name, title=TITLE, timeout=5):
        """Waits until the focused object is the `role` named `name`; returns it."""
        last = []

        def focused():
            last[:] = self.accessible("focus", title)
            return last and last[0]["role"] == role and last[0]["name"] == name and last[0]

        found = _poll(focused, timeout, interval=0.1)
        if not found:
            self._fail(f"the focus is not on the {role} {name!r} within {timeout} s, but on {last}")
        return found

    # Where things are

    def _main_x_window(self):
        size = [self.s.px(v) for v in self.state["window"][2:]]
        for window in self.s.x_windows(pid=self.proc.pid):
            if window["rect"][2:] == size:
                return window
        return None

    def x_window(self):
        """The main window as X shows it: {"id", "rect", "viewable"}."""
        window = self._main_x_window()
        if window is None:
            self._fail(f"the main window {TITLE!r} is not on the X screen")
        return window

    def window_origin(self):
        return self.x_window()["rect"][:2]

    def preview_layout(self):
        """The preview window's controls as last logged: name -> [left, top, width, height]."""
        found = {}
        for line in self.lines():
            if line.get("layout") == "预览窗口":
                found = line["controls"]
        return found

    def point(self, name, dx=None, dy=None, preview=False):
        """Screen point of a control of the main (or the preview) window: its centre, or
        (dx, dy) from its top-left corner, in layout units."""
        if preview:
            layout, origin = self.preview_layout(), self.state.get("preview")
            if origin is None:
                self._fail("the preview window is not open")
            ox, oy = self.s.px(origin[0]), self.s.px(origin[1])
        else:
            layout = self.layout
            ox, oy = self.window_origin()
        if name not in layout:
            self._fail(f"the {'preview' if preview else 'main'} window has no control {name!r}")
        left, top, width, height = layout[name]
        return (ox + self.s.px(left + (width // 2 if dx is None else dx)),
                oy + self.s.px(top + (height // 2 if dy is None else dy)))

    def window_point(self, x, y):
        """Screen point of window coordinates (x, y) in layout units."""
        ox, oy = self.window_origin()
        return ox + self.s.px(x), oy + self.s.px(y)

    # Input

    def move_to(self, x, y):
        self.s.xdotool("mousemove", x, y)

    def hover(self, name, preview=False):
        self.move_to(*self.point(name, preview=preview))

    def click(self, name, dx=None, dy=None, preview=False):
        """Moves to the control and clicks it; returns the log mark from before the click."""
        mark = self.mark()
        x, y = self.point(name, dx, dy, preview)
        self.s.xdotool("mousemove", x, y, "click", "1")
        return mark

    def press(self, name, dx=None, dy=None, preview=False):
        """Moves to the control and holds the left button down; release() lets go."""
        mark = self.mark()
        x, y = self.point(name, dx, dy, preview)
        self.s.xdotool("mousemove", x, y, "mousedown", "1")
        return mark

    def release(self):
        mark = self.mark()
        self.s.xdotool("mouseup", "1")
        return mark

    def type_into(self, name, text):
        """Clicks into the edit box and types `text`. The log shows it with the next event."""
        mark = self.click(name)
        self.s.xdotool("type", "--delay", "30", "--", text)
        return mark

    def key(self, *keys):
        self.s.xdotool("key", "--delay", "30", *keys)

    def drag(self, start, dx, dy, steps=8):
        """Presses at screen point `start`, moves by (dx, dy) in steps, and lets go there."""
        x, y = start
        self.s.xdotool("mousemove", x, y, "mousedown", "1")
        for i in range(1, steps + 1):
            time.sleep(0.03)
            self.s.xdotool("mousemove", x + dx * i // steps, y + dy * i // steps)
        time.sleep(0.05)
        self.s.xdotool("mouseup", "1")

    # Pixels

    def screenshot(self, name=None):
        """The whole screen; saved as <workdir>/<name>.png when named."""
        image = self.s.screenshot()
        if name:
            image.save_png(self.workdir / f"{name}.png")
        return image

    def window_screenshot(self, name=None):
        """The main window's part of the screen, so that pixel(x, y) takes window coordinates."""
        left, top, width, height = self.x_window()["rect"]
        screen = self.screenshot(name)
        x0, y0 = max(left, 0), max(top, 0)
        x1, y1 = min(left + width, screen.width), min(top + height, screen.height)
        if (x0, y0, x1, y1) != (left, top, left + width, top + height):
            self._fail(f"the main window {[left, top, width, height]} is not wholly on the screen")
        return screen.crop(left, top, width, height)

    def wait_for_screen(self, predicate, timeout=5, what="the expected picture"):
        """Window screenshots until predicate(image) holds; returns that image."""
        last = []

        def check():
            image = self.window_screenshot()
            last[:] = [image]
            return image if predicate(image) else None

        image = _poll(check, timeout, interval=0.1)
        if image is None:
            if last:
                last[0].save_png(self.workdir / "unexpected.png")
            self._fail(f"the window did not show {what} within {timeout} s (see {self.workdir / 'unexpected.png'})")
        return image

    # What the program did outside itself

    def opened_urls(self):
        """The addresses handed to the browser, in order."""
        if not self.browser_log.exists():
            return []
        return [line for line in self.browser_log.read_text(encoding="utf-8").splitlines() if line]

    def _fail(self, why):
        raise AssertionError(f"{why}\n--- last lines of {self.log_path}:\n{_tail(self.log_path, 4)}\n"
                             f"--- {self.wine_log}:\n{_tail(self.wine_log)}")


def _remove_tree(path):
    shutil.rmtree(path, ignore_errors=True)
    return not path.exists()


class E2ETestCase(unittest.TestCase):
    """Base of the end-to-end tests: a work folder per test, kept only when the test fails."""

    def setUp(self):
        self.session = session()
        self.session.web.reset()
        self.workdir = self.session.workdir(self.id())

    def make_game(self, folder="game", **options):
        """A fresh game folder under this test's work folder; options as for GameFolder."""
        return GameFolder(self.workdir / folder, self.session, **options)

    def start(self, game=None, timeout=30, logs=None, env=None):
        """Starts the program in `game` (a fresh default game folder if none) and waits
        until its start-up has run. Its logs go to the test's work folder, or to the
        folder `logs` in it when a test starts the program more than once; `env` adds to
        its environment."""
        return self._program(game or self.make_game(), logs, env).start(timeout)

    def run_command(self, game, *arguments, logs=None):
        """Starts the program in `game` with a command line and returns at once: it shows no
        window, only a message box when something is refused or fails, and then ends."""
        return self._program(game, logs).launch(*arguments)

    def _program(self, game, logs, env=None):
        logs = self.workdir / logs if logs else self.workdir
        logs.mkdir(parents=True, exist_ok=True)
        app = Vorlane(self.session, game, logs, env)
        self.addCleanup(self._finish, app)
        return app

    def _failed(self):
        result = getattr(self, "_result", None)
        return result is not None and len(result.failures) + len(result.errors) > self._problems_before

    def _finish(self, app):
        if self._failed() and app.running():
            try:
                app.screenshot("failure")
            except (OSError, subprocess.SubprocessError):
                pass
        app.stop()

    def run(self, result=None):
        # Python 3.11 and later record a failure in the result at once, before the clean-ups run.
        self._result = result if result is not None else self.defaultTestResult()
        self._problems_before = len(self._result.failures) + len(self._result.errors)
        outcome = super().run(self._result)
        workdir = getattr(self, "workdir", None)
        if workdir is not None:
            if self._failed():
                self.kept = workdir
            else:
                _poll(lambda: _remove_tree(workdir), 5)
        return outcome
