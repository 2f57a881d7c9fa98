#!/usr/bin/env python3
"""The real test build with every web address answered by one hostile server on the
loopback port the build reads its pages from: the window comes up, the version labels end
as for an unreachable host once the timer has stopped, and the program still closes
normally. Prints, per server, when start-up ended and when the timer stopped."""
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import campaign
from harness import E2ETestCase, WEB_PORT, wait_until

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

    def run_against(self, kind):
        server = HostileWebServer(kind)
        self.addCleanup(server.close)
        begin = time.monotonic()
        app = self.start(timeout=40)
        created = app.wait_for_event("created")
        stopped = app.wait_for_state(lambda s: s["interval"] == 0, timeout=STOPS_WITHIN, what="the timer to stop")
        labels = stopped["labels"]
        self.assertEqual(labels["透明标签15"], "")
        self.assertEqual(labels["透明标签4"], "")
        self.assertEqual(labels["透明标签5"], "0.")
        print(f"{kind}: start-up done at {created['ms']} ms, timer stopped at {stopped['ms']} ms "
              f"(program clock), {time.monotonic() - begin:.1f} s in all", flush=True)
        self.assertEqual(app.close(), 0)

    def test_black_hole(self):
        self.run_against("blackhole")

    def test_garbage_status_line(self):
        self.run_against("garbage")


if __name__ == "__main__":
    sys.exit(campaign.main("dead_network_e2e"))
