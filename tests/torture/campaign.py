"""What the end-to-end parts of the reliability campaigns share (tests/torture, tests/paths).

They drive the real test build through tests/e2e/harness.py, but bring their own web
servers (or none), so the harness's loopback pages are replaced by a stand-in before the
session starts. Tests run one at a time with a time limit each, and are reported as
GoogleTest reports them, which the test command counts:
"[  PASSED  ] N tests." and, when any failed, "[  FAILED  ] N tests, listed below:".
"""
import os
import signal
import socket
import sys
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import harness  # noqa: E402

# The campaigns map drive letters and start hostile servers: a prefix of their own keeps
# that away from the end-to-end tier's prefix.
os.environ.setdefault("VORLANE_E2E_PREFIX", str(REPO / "build" / "wineprefix-campaigns"))


class NoWebPages:
    """Stands in for the harness's web server: the campaign serves the pages itself."""

    def __init__(self, *args, **kwargs):
        self.requests = []

    def serve(self, *args, **kwargs):
        raise AssertionError("this campaign serves its own pages")

    def reset(self):
        pass

    def close(self):
        pass


harness.WebPages = NoWebPages


def wait_for_free_port(port, timeout):
    """True once nothing listens on 127.0.0.1:port (another test run may hold it a while)."""
    deadline = time.monotonic() + timeout
    while True:
        with socket.socket() as probe:
            # Bound as the servers bind: a connection of the last server left waiting to close
            # (TIME_WAIT) does not hold the port.
            probe.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            try:
                probe.bind(("127.0.0.1", port))
                return True
            except OSError:
                pass
        if time.monotonic() >= deadline:
            return False
        time.sleep(1)


class TestTimeout(Exception):
    pass


def _each(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from _each(item)
        else:
            yield item


def _tests(n):
    return f"{n} test" if n == 1 else f"{n} tests"


def main(module_name, timeout=240):
    """Runs every test of the module; exit status 1 when one failed."""
    tests = list(_each(unittest.defaultTestLoader.loadTestsFromName(module_name)))

    def on_alarm(signum, frame):
        raise TestTimeout(f"the test took longer than {timeout} s")

    signal.signal(signal.SIGALRM, on_alarm)
    failed = []
    try:
        for test in tests:
            name = test.id().split(".", 1)[-1]
            print(f"[ RUN      ] {name}", flush=True)
            result = unittest.TestResult()
            begin = time.monotonic()
            signal.alarm(timeout)
            try:
                test(result)
            finally:
                signal.alarm(0)
            ms = int((time.monotonic() - begin) * 1000)
            problems = result.failures + result.errors
            for _, trace in problems:
                print(trace.rstrip(), flush=True)
            if getattr(test, "kept", None):
                print(f"kept: {test.kept}")
            print(f"{'[  FAILED  ]' if problems else '[       OK ]'} {name} ({ms} ms)", flush=True)
            if problems:
                failed.append(name)
    finally:
        harness.shutdown()
    print(f"[  PASSED  ] {_tests(len(tests) - len(failed))}.")
    if failed:
        print(f"[  FAILED  ] {_tests(len(failed))}, listed below:")
        for name in failed:
            print(f"[  FAILED  ] {name}")
    return 1 if failed else 0
