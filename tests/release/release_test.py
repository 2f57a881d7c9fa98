#!/usr/bin/env python3
"""The release: the configure-time check of the server addresses, the release script's
refusal of documentation addresses, and two releases from two copies of the tree in folders
of different paths, built one after the other, which must agree to the byte.

Prints GoogleTest summary lines that the test command counts, and both folders' SHA256SUMS.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
VERSION = re.search(r"project\(Vorlane VERSION ([0-9.]+)", (REPO / "CMakeLists.txt").read_text())[1]
ZIP = f"vorlane-{VERSION}-win64-test-addresses.zip"
INSTRUCTIONS = "使用说明.txt"
# Addresses of a form the launcher files take and no documentation address among them.
LIVE = "live.home.arpa;10.0.0.2;10.0.0.3;172.16.0.4;192.168.0.5"


def check_addresses(live, experience):
    """Exit status and the one-line message of the configure-time check."""
    run = subprocess.run(["cmake", f"-DVORLANE_LIVE_SERVERS={live}", f"-DVORLANE_EXPERIENCE_SERVER={experience}",
                          "-P", str(REPO / "cmake" / "server_addresses.cmake")], capture_output=True, text=True)
    return run.returncode, " ".join(run.stderr.split())


class ServerAddresses(unittest.TestCase):
    def test_good_and_bad_forms(self):
        live = LIVE.split(";")

        def with_live(position, address):
            return ";".join(live[:position - 1] + [address] + live[position:])

        accepted = "documentation addresses in:"
        cases = [  # live servers, experience server, accepted, what the check says
            (LIVE, "10.0.0.6", True, accepted),
            ("live1.vorlane.invalid;192.0.2.11;192.0.2.12;198.51.100.13;198.51.100.14", "203.0.113.21", True,
             f"{accepted} VORLANE_LIVE_SERVERS;VORLANE_EXPERIENCE_SERVER"),
            (with_live(4, "198.51.100.4"), "0.0.0.0", True, f"{accepted} VORLANE_LIVE_SERVERS"),
            (with_live(1, "Dir-1.CF.Test"), "255.255.255.255", True, f"{accepted} VORLANE_LIVE_SERVERS"),
            (with_live(1, "x1.invalid.home.arpa"), "203.0.113.200", True, f"{accepted} VORLANE_EXPERIENCE_SERVER"),
            (";".join(live[:4]), "10.0.0.6", False, f'VORLANE_LIVE_SERVERS must list five addresses separated by \';\', not 4: "{";".join(live[:4])}"'),
            (LIVE + ";10.0.0.7", "10.0.0.6", False, "VORLANE_LIVE_SERVERS must list five addresses separated by ';', not 6"),
            (with_live(1, "10.0.0.1"), "10.0.0.6", False, 'VORLANE_LIVE_SERVERS: address 1, "10.0.0.1", is not a host name'),
            (with_live(1, "live_1.home.arpa"), "10.0.0.6", False, '"live_1.home.arpa", is not a host name'),
            (with_live(1, "live.home.arpa."), "10.0.0.6", False, '"live.home.arpa.", is not a host name'),
            (with_live(1, "-live.home.arpa"), "10.0.0.6", False, '"-live.home.arpa", is not a host name'),
            (with_live(1, "a" * 64 + ".arpa"), "10.0.0.6", False, "is not a host name"),
            (with_live(1, 'live"x'), "10.0.0.6", False, '"live"x", is not a host name'),
            (with_live(3, "10.0.0.256"), "10.0.0.6", False, 'VORLANE_LIVE_SERVERS: address 3, "10.0.0.256", is not a dotted IPv4 address'),
            (with_live(2, "10.0.0"), "10.0.0.6", False, 'address 2, "10.0.0", is not a dotted IPv4 address'),
            (with_live(5, "10.0.0.05"), "10.0.0.6", False, 'address 5, "10.0.0.05", is not a dotted IPv4'),
            (with_live(2, " 10.0.0.2"), "10.0.0.6", False, 'address 2, " 10.0.0.2", is not a dotted IPv4'),
            (with_live(4, ""), "10.0.0.6", False, 'address 4, "", is not a dotted IPv4'),
            (LIVE, "", False, 'VORLANE_EXPERIENCE_SERVER: "" is not a dotted IPv4 address'),
            (LIVE, "test.home.arpa", False, 'VORLANE_EXPERIENCE_SERVER: "test.home.arpa" is not a dotted IPv4 address'),
            (LIVE, "10.0.0.1.2", False, '"10.0.0.1.2" is not a dotted IPv4 address'),
        ]
        for live_servers, experience, good, says in cases:
            with self.subTest(live=live_servers, experience=experience):
                status, message = check_addresses(live_servers, experience)
                self.assertEqual(status == 0, good, message)
                if good:
                    self.assertEqual(message, says)
                else:
                    self.assertIn(says, message)


def copy_tree(folder):
    """The tree's files as git sees them (committed or not, not ignored), without its history."""
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"], cwd=REPO,
                            capture_output=True, check=True).stdout.decode()
    for name in filter(None, listed.split("\0")):
        if (REPO / name).is_file():
            (folder / name).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(REPO / name, folder / name)
    return folder


class Release(unittest.TestCase):
    epoch = int(subprocess.run(["git", "log", "-1", "--format=%ct"], cwd=REPO, capture_output=True, text=True,
                               check=True).stdout)

    @classmethod
    def release(cls, tree, *args):
        return subprocess.run(["bash", "scripts/release.sh", *args], cwd=tree, capture_output=True, text=True,
                              env=dict(os.environ, SOURCE_DATE_EPOCH=str(cls.epoch)))

    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix="vorlane-release-"))
        cls.trees = [copy_tree(cls.work / "one"), copy_tree(cls.work / "a-second-copy" / "further" / "down")]
        cls.runs = [cls.release(tree, "--test-addresses") for tree in cls.trees]
        for tree, run in zip(cls.trees, cls.runs):
            sums = tree / "dist" / "SHA256SUMS"
            print(f"{tree}/dist/SHA256SUMS:\n{sums.read_text() if sums.exists() else run.stderr[-3000:]}", flush=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def test_refuses_documentation_addresses(self):
        tree = copy_tree(self.work / "refused")
        run = self.release(tree)
        self.assertNotEqual(run.returncode, 0)
        self.assertIn("error: VORLANE_LIVE_SERVERS and VORLANE_EXPERIENCE_SERVER still hold documentation addresses",
                      run.stderr)
        self.assertIn("--test-addresses", run.stderr)
        self.assertFalse((tree / "dist").exists())

    def test_two_folders_give_the_same_bytes(self):
        for run in self.runs:
            self.assertEqual(run.returncode, 0, run.stdout[-3000:] + run.stderr[-3000:])
        zips = [(tree / "dist" / ZIP).read_bytes() for tree in self.trees]
        self.assertEqual(hashlib.sha256(zips[0]).hexdigest(), hashlib.sha256(zips[1]).hexdigest())
        sums = [(tree / "dist" / "SHA256SUMS").read_text() for tree in self.trees]
        self.assertEqual(sums[0], sums[1])

    def test_zip_holds_the_program_and_the_players_instructions(self):
        dist = self.trees[0] / "dist"
        with zipfile.ZipFile(dist / ZIP) as z:
            self.assertEqual(z.namelist(), ["vorlane.exe", INSTRUCTIONS])
            for info in z.infolist():
                self.assertEqual(info.date_time, time.gmtime(self.epoch - self.epoch % 2)[:6], info.filename)
            self.assertTrue(z.getinfo(INSTRUCTIONS).flag_bits & 0x800, "the Chinese name is not marked as UTF-8")
            program, text = z.read("vorlane.exe"), z.read(INSTRUCTIONS)
        self.assertEqual(program, (self.trees[0] / "build" / "release" / "vorlane.exe").read_bytes())
        self.assertEqual((dist / "SHA256SUMS").read_text().splitlines(),
                         [f"{hashlib.sha256((dist / ZIP).read_bytes()).hexdigest()}  {ZIP}",
                          f"{hashlib.sha256(program).hexdigest()}  vorlane.exe"])
        for shown in (f"Vorlane{VERSION}".encode("utf-16-le"), f"ProductVersion\0{VERSION}".encode("utf-16-le")):
            self.assertIn(shown, program)

        self.assertTrue(text.startswith(b"\xef\xbb\xbf"), "no byte-order mark")
        self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), "a line ends without CR LF")
        text = text.decode("utf-8")
        self.assertLess(text.index("中文说明（玩家）"), text.index("For players (English)"))
        self.assertIn("certutil -hashfile vorlane.exe SHA256", text)
        for not_for_players in ("For distributors", "For developers", "**", "`"):
            self.assertNotIn(not_for_players, text)


if __name__ == "__main__":
    result = unittest.main(exit=False, verbosity=2).result
    failed = [test.id() for test, _ in result.failures + result.errors]
    print(f"[  PASSED  ] {result.testsRun - len(failed)} tests.")
    if failed:
        print(f"[  FAILED  ] {len(failed)} tests, listed below:")
        print("\n".join(f"[  FAILED  ] {name}" for name in failed))
    sys.exit(1 if failed else 0)
