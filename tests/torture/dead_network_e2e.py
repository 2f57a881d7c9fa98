#!/usr/bin/env python3
"""The real test build with every web address answered by one hostile server on the
loopback port the build reads its pages from: the window comes up, the version labels end
as for an unreachable host once the timer has stopped, and the program still closes
normally; with pages an attacker could send, the window answers every click meanwhile. Prints,
per server, when start-up ended, when the timer stopped and how long the clicks took."""
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import campaign
from harness import WEB_PORT, E2ETestCase, controls, wait_until

HERE = Path(__file__).resolve().parent

# Each fetch gives up within 5 s; start-up fetches once, each timer tick twice.
STOPS_WITHIN = 60


class HostileWebServer:
    def __init__(self, kind):
        self.folder = tempfile.TemporaryDirectory()
        port_file = Path(self.folder.name) / "port"
        if not campaign.wait_for_free_port(WEB_PORT, 120):
            raise AssertionError(f"127.0.0.1:{WEB_PORT} stays busy (another test run?)")
        self.process = subprocess.Popen([sys.executable, str(HERE / "hostile_server.py"), "--port", str(WEB_PORT),
                                         "--every", kind, "--lifetime", "180", "--port-file", str(port_file)])
        wait_until(port_file.exists, 10, what=f"{kind} server on port {WEB_PORT}")

    def close(self):
        self.process.terminate()
        self.process.wait(10)
        self.folder.cleanup()


class DeadNetworkTest(E2ETestCase):

    def click_until_stopped(self, app):
        """Clicks the radio buttons in turn while the pages arrive until the timer has stopped,
        and twice more, each click handled; how long each took, seen from outside (the log is
        polled every 50 ms)."""
        took, stopped_after, deadline = [], None, time.monotonic() + STOPS_WITHIN
        while stopped_after is None or len(took) < stopped_after + 2:
            self.assertLess(time.monotonic(), deadline, "the timer did not stop")
            name = (controls.liveChoice, controls.experienceChoice)[len(took) % 2]
            sent = time.monotonic()
            app.wait_for_event(f"clicked {name}", since=app.click(name))
            took.append((time.monotonic() - sent) * 1000)
            if stopped_after is None and any(s["interval"] == 0 for s in app.states()):
                stopped_after = len(took)
        return took

    def run_against(self, kind, clicks=False):
        server = HostileWebServer(kind)
        self.addCleanup(server.close)
        begin = time.monotonic()
        app = self.start(timeout=40)
        created = app.wait_for_event("created")
        took = self.click_until_stopped(app) if clicks else []
        stopped = app.wait_for_state(lambda s: s["interval"] == 0, timeout=STOPS_WITHIN, what="the timer to stop")
        labels = stopped["labels"]
        self.assertEqual(labels[controls.newestReleaseLabel], "")
        self.assertEqual(labels[controls.experienceNewestVersionLabel], "")
        self.assertEqual(labels[controls.liveNewestVersionLabel], "0.")
        print(f"{kind}: start-up done at {created['ms']} ms, timer stopped at {stopped['ms']} ms "
              f"(program clock), {time.monotonic() - begin:.1f} s in all", flush=True)
        if took:
            print(f"{kind}: {len(took)} clicks handled, the slowest in {max(took):.0f} ms (seen from outside)",
                  flush=True)
        self.assertEqual(app.close(), 0)

    def test_black_hole(self):
        self.run_against("blackhole")

    def test_garbage_status_line(self):
        self.run_against("garbage")

    def test_meta_tags_never_closed(self):
        self.run_against("metaflood", clicks=True)

    def test_a_marker_value_that_fills_the_page(self):
        self.run_against("hugemarker", clicks=True)


if __name__ == "__main__":
    sys.exit(campaign.main("dead_network_e2e"))
