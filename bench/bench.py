#!/usr/bin/env python3
"""Benchmarks of vorlane.exe under Wine + Xvfb, each measured in one run against a
baseline on the same machine, the runs of the two alternating. Prints a table and writes
docs/benchmarks.md. Run it through scripts/bench.sh, which makes the builds it needs.

  bench.py [--runs N] [--out FILE] [--quiet-load L] [--quiet-wait S] [--from RESULTS]

Every measured value is also kept in build/bench/run/results.json; --from writes the
table and the document again from such a file without measuring.

Timings come from the test build's log (VORLANE_TEST_LOG): first_paint_ms and
input_ready_ms are milliseconds since the process was created (GetProcessTimes), taken
after the main window's first complete paint and when the main message loop starts;
peak_working_set is logged when the loop ends; replace_files_ms times one switch's file
replacement inside the process. The baseline program logs the same lines the same way.
click_ms is taken from outside: from a click on the window until the log holds the state
line its handler writes.
"""
import argparse
import datetime
import json
import os
import platform
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
BUILD = REPO / "build"
TEST_EXE = BUILD / "windows-test" / "vorlane.exe"
NOADDR_EXE = BUILD / "bench-noaddr" / "vorlane.exe"
SHIPPED_EXE = BUILD / "windows" / "vorlane.exe"
TOOLS = BUILD / "bench"
WORK = TOOLS / "run"
WEB_PORT = int(os.environ.get("VORLANE_E2E_PORT", "18471"))

os.environ["VORLANE_E2E_PREFIX"] = str(BUILD / "wineprefix-bench")
os.environ["VORLANE_E2E_BUILD"] = str(BUILD / "windows-test")
sys.path.insert(0, str(REPO / "tests" / "e2e"))
sys.path.insert(0, str(REPO / "tests" / "media"))
import harness  # noqa: E402
import expected_files  # noqa: E402
from make_media import write_png  # noqa: E402


class NoWebPages:
    """The harness's web server stays off: the benchmarks decide what port 18471 does."""

    def __init__(self, *args, **kwargs):
        pass

    def reset(self):
        pass

    def close(self):
        pass


harness.WebPages = NoWebPages

# The programs measured, as copied into the benchmark's game folder. "dlls" is the minimal
# window loading every DLL vorlane loads at start, which tells their share apart.
PROGRAMS = {
    "minimal": ("minimal_window.exe", "VorlaneBenchMinimal"),
    "dlls": ("minimal_window.exe", "VorlaneBenchMinimal"),
    "vorlane": ("vorlane-test.exe", harness.TITLE),
    "noaddr": ("vorlane-noaddr.exe", harness.TITLE),
}
# The hostile pages' size: all that a fetch keeps.
PAGE_KIB = 4096
# What the click figure clicks: a radio button, whose handler only enables an edit box.
CLICKED = "单选框1"
# The skin pictures of the main window's first frame (at 96 DPI), and the part of the loading
# picture that its preview shows.
FIRST_FRAME_PICTURES = ("background", "frame_blank", "plate_close_normal", "plate_minimize_normal",
                        "wide_fullscreen_normal", "plate_convert_normal", "plate_to_bgm_normal",
                        "plate_restore_normal", "plate_play_normal", "plate_open_game_normal", "plate_website_normal")
PREVIEW_PART = "408x176"
# The fetch workers alive at vorlane's peak working set.
FETCH_THREADS = 2
# What vorlane does before its first paint, and then before its peak working set, added one
# part after the other to the minimal window (bench/minimal_window.cpp): the rise at each
# step is that part's cost. Each part is what any window drawn like vorlane's needs
# ("window"), what vorlane's first frame shows ("frame"), or comes after that ("after").
FIRST_FRAME_PARTS = (
    ("the DLLs loaded at start and the common controls", "window", "comctl32.dll ole32.dll --common-controls"),
    ("COM and the WIC factory", "window", "--wic"),
    (f"decoding the first frame's {len(FIRST_FRAME_PICTURES)} skin pictures", "frame",
     " ".join(f"--decode=skin\\{name}.png" for name in FIRST_FRAME_PICTURES)),
    (f"decoding the preview's {PREVIEW_PART.replace('x', ' × ')} of the loading picture", "frame",
     f"--decode-part={PREVIEW_PART}:TCLS\\ui\\background_Loading.png"),
    ("three edit boxes and two radio buttons", "window", "--controls"),
    ("painting through a band buffer", "frame", "--band"),
    ("the labels' text in a CJK font", "frame", "--text"),
    ("the machine's address (iphlpapi.dll)", "frame", "--ip"),
    ("shell32.dll (the portal page opened)", "after", "--then shell32.dll"),
    ("WinINet (the start-up's fetch, on a worker that has ended by the peak)", "after",
     f"--fetch=http://127.0.0.1:{WEB_PORT}/"),
    (f"{FETCH_THREADS} worker threads alive (the timer's two pages on their way)", "after",
     f"--threads={FETCH_THREADS}"),
)


def log_lines(path):
    try:
        text = path.read_text(encoding="utf-8")
    except FileNotFoundError:
        return []
    # The program may be writing the last line right now.
    lines = []
    for line in text.splitlines():
        try:
            lines.append(json.loads(line))
        except ValueError:
            pass
    return lines


def log_values(path):
    values = {}
    for line in log_lines(path):
        values.update({k: v for k, v in line.items() if not isinstance(v, (dict, list))})
    return values


def poll(condition, timeout, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value is not None and value is not False:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


class Port:
    """Port 18471 held for a phase: refused (bound, never listening, so every connection
    is turned away at once) or a black hole (accepts, reads, never answers)."""

    def __init__(self, mode, wait):
        self.mode = mode
        self.socket = self.server = None
        if not wait_for_free_port(wait):
            raise SystemExit(f"127.0.0.1:{WEB_PORT} stayed busy for {wait} s (another test run?)")
        if mode == "refused":
            self.socket = socket.socket()
            self.socket.bind(("127.0.0.1", WEB_PORT))
        else:
            port_file = WORK / "blackhole.port"
            port_file.unlink(missing_ok=True)
            self.server = subprocess.Popen([sys.executable, str(REPO / "tests" / "torture" / "hostile_server.py"),
                                            "--port", str(WEB_PORT), "--every", "blackhole", "--lifetime", "1800",
                                            "--port-file", str(port_file)])
            if poll(port_file.exists, 10) is None:
                raise SystemExit("the black-hole server did not start")

    def close(self):
        if self.socket:
            self.socket.close()
        if self.server:
            self.server.terminate()
            self.server.wait(10)


def wait_for_free_port(timeout):
    deadline = time.monotonic() + timeout
    while True:
        with socket.socket() as probe:
            try:
                probe.bind(("127.0.0.1", WEB_PORT))
                return True
            except OSError:
                if time.monotonic() >= deadline:
                    return False
        time.sleep(1)


class Bench:
    def __init__(self, runs, port_wait):
        self.runs = runs
        self.port_wait = port_wait
        self.session = harness.session()
        self.env = self.session.env
        # A server that stays up between runs, so every run starts against the same warm one.
        subprocess.run(["wineserver", "-w"], env=self.env, capture_output=True, timeout=60)
        self.wineserver = subprocess.Popen(["wineserver", "-p", "-f"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.game = WORK / "game"
        # WIC comes in through COM rather than as an import.
        # The common controls are delay-loaded, but loaded at once.
        self.arguments = {"dlls": imports(TEST_EXE)[0] + ["comctl32.dll", "windowscodecs.dll"]}
        parts = []
        for i, (_, _, arguments) in enumerate(FIRST_FRAME_PARTS):
            parts += arguments.split()
            PROGRAMS[f"part{i + 1}"] = PROGRAMS["minimal"]
            self.arguments[f"part{i + 1}"] = list(parts)
        self.count = 0
        self.loads = []

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=30)
        self.wineserver.wait(10)
        harness.shutdown()

    def prepare_game(self):
        for sub in ("TCLS/config", "TCLS/ui", "TCLS/music"):
            (self.game / sub).mkdir(parents=True, exist_ok=True)
        picture = self.game / "TCLS" / "ui" / "background_Loading.png"
        if not picture.exists():
            write_png(str(picture), 1024, 768)
        for name, source in (("minimal", TOOLS / "minimal_window.exe"), ("vorlane", TEST_EXE), ("noaddr", NOADDR_EXE)):
            (self.game / PROGRAMS[name][0]).write_bytes(source.read_bytes())
        (self.game / "browser.log").unlink(missing_ok=True)
        (self.game / "skin").mkdir(exist_ok=True)
        for name in FIRST_FRAME_PICTURES:
            shutil.copy(BUILD / "windows-test" / "assets" / f"{name}.png", self.game / "skin" / f"{name}.png")

    def note_load(self, phase):
        self.loads.append((phase, os.getloadavg()[0]))

    def start(self, name):
        self.count += 1
        log = WORK / f"run-{self.count}.log"
        log.unlink(missing_ok=True)
        env = dict(self.env, VORLANE_TEST_LOG=str(log), VORLANE_E2E_BROWSER_LOG=str(WORK / "browser.log"))
        proc = subprocess.Popen(["wine", str(self.game / PROGRAMS[name][0]), *self.arguments.get(name, [])],
                                cwd=self.game, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        return proc, log

    def measure(self, name, close):
        """One start of the program: its log values; closed like its close box when `close`,
        killed once its input is ready otherwise."""
        proc, log = self.start(name)
        title = PROGRAMS[name][1]
        try:
            if poll(lambda: "input_ready_ms" in log_values(log), 40) is None:
                raise RuntimeError(f"{name}: no input_ready_ms within 40 s")
            if close:
                closer = TOOLS / "close_window.exe"
                if poll(lambda: self.session.wine(closer, title).returncode == 0, 10) is None:
                    raise RuntimeError(f"{name}: no window {title!r} to close")
                proc.wait(30)
                poll(lambda: "peak_working_set" in log_values(log), 5)
        finally:
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait(10)
            poll(lambda: not self.session.x_windows(title), 10)
        values = log_values(log)
        values["phases"] = {line["phase"]: [line["ms"], line["working_set"]]
                            for line in log_lines(log) if "phase" in line}
        return values

    def click(self, name, target):
        """One start: a click on the control `target` ([left, top, width, height] in the
        window) 1 s after the window appears; the milliseconds until the handler's state line
        is in the log. The program is killed then."""
        proc, log = self.start(name)
        title = PROGRAMS[name][1]
        try:
            window = poll(lambda: next((w for w in self.session.x_windows(title) if w["viewable"]), None), 40)
            if window is None:
                raise RuntimeError(f"{name}: no window {title!r} within 40 s")
            time.sleep(1)
            left, top, width, height = target
            x, y = window["rect"][0] + left + width // 2, window["rect"][1] + top + height // 2
            clicked = time.monotonic()
            self.session.xdotool("mousemove", x, y, "click", "1")
            handled = poll(lambda: any(line.get("event") == f"clicked {CLICKED}" for line in log_lines(log)), 40,
                           interval=0.005)
            if handled is None:
                raise RuntimeError(f"{name}: the click on {CLICKED} was not handled within 40 s")
            return {"click_ms": (time.monotonic() - clicked) * 1000}
        finally:
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait(10)
            poll(lambda: not self.session.x_windows(title), 10)

    def control_rect(self, name):
        """Where the main window's control `name` lies, from the layout the program logs."""
        proc, log = self.start("noaddr")
        try:
            layout = poll(lambda: next((line["controls"] for line in log_lines(log) if "layout" in line), None), 40)
            if layout is None:
                raise RuntimeError("noaddr: no layout line within 40 s")
            return layout[name]
        finally:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait(10)
            poll(lambda: not self.session.x_windows(harness.TITLE), 10)

    def alternate(self, names, measure):
        """`runs` rounds of measure(name); the order turns each round so that each program goes first as often."""
        results = {name: [] for name in names}
        for i in range(self.runs):
            order = names[i % len(names):] + names[:i % len(names)]
            for name in order:
                results[name].append(measure(name))
        return results

    def start_up(self):
        port = Port("refused", self.port_wait)
        try:
            self.note_load("start-up, refused port")
            return self.alternate(["minimal", "vorlane", "noaddr", "dlls"], lambda name: self.measure(name, True))
        finally:
            port.close()

    def first_frame_parts(self):
        port = Port("refused", self.port_wait)
        try:
            self.note_load("first-frame parts")
            names = ["minimal"] + [f"part{i + 1}" for i in range(len(FIRST_FRAME_PARTS))] + ["vorlane"]
            runs = self.alternate(names, lambda name: self.measure(name, True))
            return {"labels": [label for label, _, _ in FIRST_FRAME_PARTS], "threads": FETCH_THREADS,
                    "kinds": [kind for _, kind, _ in FIRST_FRAME_PARTS], "runs": [runs[name] for name in names]}
        finally:
            port.close()

    def dead_network(self):
        port = Port("blackhole", self.port_wait)
        try:
            self.note_load("start-up, black hole")
            return self.alternate(["vorlane", "noaddr"], lambda name: self.measure(name, False))
        finally:
            port.close()

    def click_while_loading(self):
        port = Port("blackhole", self.port_wait)
        try:
            target = self.control_rect(CLICKED)
            self.note_load("click, black hole")
            return self.alternate(["vorlane", "noaddr"], lambda name: self.click(name, target))
        finally:
            port.close()

    def switch_in_program(self):
        """One program, one experience switch after another, each confirmed like a user."""
        port = Port("refused", self.port_wait)
        folder = WORK / "switch"
        shutil.rmtree(folder, ignore_errors=True)
        game = harness.GameFolder(folder / "game", self.session)
        app = harness.Vorlane(self.session, game, folder)
        try:
            self.note_load("switch in the program")
            app.start()
            mark = app.click("单选框2")
            app.wait_for_event("clicked 单选框2", since=mark)
            app.type_into("编辑框1", "1.0.12.345")
            for _ in range(self.runs + 2):
                mark = app.click("图形按钮2")
                message = app.wait_for_message(since=mark, timeout=15)
                if not message.startswith("本程序为您成功切换成CF体验服"):
                    raise RuntimeError(f"the switch failed: {message!r}")
                app.dismiss_message()
                app.wait_for_event("clicked 图形按钮2", since=mark)
            times = [line["replace_files_ms"] for line in app.lines() if "replace_files_ms" in line]
            for rel, data in expected_files.experience_files("1.0.12.345").items():
                if game.read(rel) != data:
                    raise RuntimeError(f"{rel} does not hold what the switch writes")
            return times
        finally:
            app.stop()
            port.close()

    def hostile_pages(self):
        """bench/page_labels on both hostile 4 MiB bodies, `runs` times: {"meta": [ms], "marker": [ms]}."""
        self.note_load("hostile pages")
        result = subprocess.run([str(TOOLS / "page_labels"), *[str(PAGE_KIB)] * self.runs], capture_output=True,
                                check=True, timeout=600)
        times = {"meta": [], "marker": []}
        for line in result.stdout.decode().splitlines():
            body, rest = line.split(" ", 1)
            times[body].append(float(rest.split(": ", 1)[1].split(" ms", 1)[0]))
        return times

    def replacement_alone(self):
        self.note_load("replacement alone")
        folder = WORK / "replace-game"
        folder.mkdir(parents=True, exist_ok=True)
        result = self.session.wine(TOOLS / "replace_files.exe", "Z:" + str(folder).replace("/", "\\"),
                                   str(2 * self.runs), timeout=120)
        lines = [json.loads(line) for line in result.stdout.decode().splitlines() if line.strip()]
        if result.returncode != 0:
            raise RuntimeError(f"replace_files.exe failed ({result.returncode})")
        return {key: [line[key] for line in lines if key in line] for key in ("replace_files_ms", "plain_writes_ms")}


def imports(exe):
    """The DLLs the exe loads at start, whether it imports system DLLs only, and the DLLs it
    loads on first use (cmake/delay_load)."""
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(exe)], capture_output=True, check=True).stdout
    dlls = [line.split(":", 1)[1].strip() for line in dump.decode().splitlines() if "DLL Name:" in line]
    later = sorted(path.stem for path in (REPO / "cmake" / "delay_load").glob("*.def"))
    system_only = subprocess.run([str(REPO / "cmake" / "check_imports.sh"), str(exe), *later],
                                 capture_output=True).returncode == 0
    return dlls, system_only, later


def machine():
    mem = next(line for line in Path("/proc/meminfo").read_text().splitlines() if line.startswith("MemTotal"))
    cpu = next((line.split(":", 1)[1].strip() for line in Path("/proc/cpuinfo").read_text().splitlines()
                if line.startswith("model name")), platform.processor())
    wine = subprocess.run(["wine", "--version"], capture_output=True).stdout.decode().strip()
    return {
        "nproc": os.cpu_count(),
        "memory": f"{int(mem.split()[1]) / 1024 / 1024:.1f} GiB",
        "cpu": cpu,
        "kernel": platform.release(),
        "wine": wine,
        "date": datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z"),
    }


def median(values):
    return statistics.median(values) if values else float("nan")


def wait_for_quiet(limit, wait):
    """Waits (at most `wait` s) for the 1-minute load average to fall below `limit`."""
    deadline = time.monotonic() + wait
    while os.getloadavg()[0] >= limit and time.monotonic() < deadline:
        time.sleep(10)
    return os.getloadavg()[0]


def main():
    parser = argparse.ArgumentParser(description="Benchmarks of vorlane.exe against baselines, under Wine + Xvfb.")
    parser.add_argument("--runs", type=int, default=12, help="runs of each program per figure (default 12)")
    parser.add_argument("--out", default=str(REPO / "docs" / "benchmarks.md"), help="the document to write")
    parser.add_argument("--quiet-load", type=float, default=1.0,
                        help="wait for the 1-minute load average to fall below this first (default 1.0)")
    parser.add_argument("--quiet-wait", type=float, default=600, help="but wait at most this many seconds")
    parser.add_argument("--port-wait", type=float, default=600,
                        help=f"seconds to wait for port {WEB_PORT} to be free (another test run may hold it)")
    parser.add_argument("--from", dest="results", help="a results.json to report on instead of measuring")
    args = parser.parse_args()
    if args.runs < 10:
        parser.error("the figures are medians of at least 10 runs")

    if args.results:
        results = json.loads(Path(args.results).read_text())
    else:
        WORK.mkdir(parents=True, exist_ok=True)
        started_load = wait_for_quiet(args.quiet_load, args.quiet_wait)
        bench = Bench(args.runs, args.port_wait)
        try:
            bench.prepare_game()
            measured = {"start_up": bench.start_up(), "parts": bench.first_frame_parts(), "dead": bench.dead_network(),
                        "click": bench.click_while_loading(), "switch": bench.switch_in_program(),
                        "alone": bench.replacement_alone(), "pages": bench.hostile_pages()}
        finally:
            bench.close()
        bench.note_load("end")
        results = dict(measured, machine=machine(), runs=args.runs, started_load=started_load, loads=bench.loads,
                       size=SHIPPED_EXE.stat().st_size, minimal_size=(TOOLS / "minimal_window.exe").stat().st_size,
                       imports=imports(SHIPPED_EXE))
        (WORK / "results.json").write_text(json.dumps(results, ensure_ascii=False, indent=1))

    from report import Report
    report = Report(**results)
    print(report.table())
    Path(args.out).write_text(report.document(), encoding="utf-8")
    print(f"written to {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
