#!/usr/bin/env python3
"""Runs the end-to-end tests (tests/e2e/test_*.py) one at a time against a Windows test build.

  run.py [--build DIR] [-k PATTERN] [--timeout SECONDS]

Prints one line per test and last "e2e: N passed, N failed" (", N skipped" when any).
Exit status 1 when a test failed. The work folder of a failed test is kept under build/e2e/.
"""
import argparse
import os
import signal
import sys
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parents[1]


class TestTimeout(Exception):
    pass


def each_test(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from each_test(item)
        else:
            yield item


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("--build", default=str(REPO / "build" / "windows-test"),
                        help="folder holding vorlane.exe, msgbox.exe and client_stub.exe (default build/windows-test)")
    parser.add_argument("-k", dest="patterns", action="append", default=[],
                        help="run only tests whose name contains PATTERN (or matches it, with *)")
    parser.add_argument("--timeout", type=int, default=180, help="seconds each test may take (default 180)")
    args = parser.parse_args()

    os.environ["VORLANE_E2E_BUILD"] = str(Path(args.build).resolve())
    sys.path.insert(0, str(HERE))
    import harness

    loader = unittest.TestLoader()
    loader.testNamePatterns = [p if "*" in p else f"*{p}*" for p in args.patterns] or None
    tests = list(each_test(loader.discover(str(HERE), pattern="test_*.py", top_level_dir=str(HERE))))
    if not tests:
        print(f"no end-to-end test matches {args.patterns}")
        print("e2e: 0 passed, 0 failed")
        return 1

    def on_alarm(signum, frame):
        raise TestTimeout(f"the test took longer than {args.timeout} s")

    signal.signal(signal.SIGALRM, on_alarm)
    passed = failed = skipped = 0
    started = time.monotonic()
    try:
        for test in tests:
            result = unittest.TestResult()
            begin = time.monotonic()
            signal.alarm(args.timeout)
            try:
                test(result)
            finally:
                signal.alarm(0)
            seconds = time.monotonic() - begin
            problems = result.failures + result.errors
            if problems:
                failed += 1
                print(f"FAIL {test.id()} ({seconds:.1f} s)")
                for _, trace in problems:
                    print("    " + trace.rstrip().replace("\n", "\n    "))
                if getattr(test, "kept", None):
                    print(f"    kept: {test.kept}")
            elif result.skipped:
                skipped += 1
                print(f"SKIP {test.id()}: {result.skipped[0][1]}")
            else:
                passed += 1
                print(f"ok   {test.id()} ({seconds:.1f} s)")
            sys.stdout.flush()
    finally:
        harness.shutdown()
    print(f"({time.monotonic() - started:.0f} s in all)")
    print(f"e2e: {passed} passed, {failed} failed" + (f", {skipped} skipped" if skipped else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
