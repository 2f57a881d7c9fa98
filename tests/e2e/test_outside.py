"""What reaches the program from outside its own code: libraries planted in the game folder,
paths that name no ordinary file, and a music file far larger than memory should hold."""
import hashlib
import os
import select
import subprocess
import unittest

import test_loading
from harness import E2ETestCase, controls
from surroundings import serve_site, tone_mp3
from test_loading import DONE, MUSIC, UNREADABLE, windows_path
from test_online import stopped

OLD_MUSIC = b"ID3\x03\x00\x00\x00\x00\x00\x00 the launcher's music"
# What the program, or the system for it, loads after start (pages, music, address, file dialog,
# browser, screen reader) and what those load by name (MCI driver, DirectShow, themes).
PLANTED = ("wininet", "winmm", "iphlpapi", "comdlg32", "shell32", "oleacc", "mciqtz32", "quartz", "msacm32",
           "dwmapi", "uxtheme", "shlwapi", "propsys", "winhttp", "ws2_32", "dnsapi", "mpr", "netapi32")


class OutsideTest(E2ETestCase):
    install = test_loading.LoadingMusicTest.install

    def test_no_library_is_taken_from_the_game_folder(self):
        game = self.make_game(music=tone_mp3(self.workdir / "tone.mp3", 3, 440))
        for name in PLANTED:
            game.write(f"{name}.dll", self.session.planted_dll.read_bytes())
        serve_site(self)
        # Wine takes its own copy of a system library even where it finds a file of that name
        # first; told to prefer the file, it does as Windows does.
        overrides = f"{self.session.env.get('WINEDLLOVERRIDES', '')};{','.join(PLANTED)}=n,b"

        app = self.start(game, env={"WINEDLLOVERRIDES": overrides})
        self.assertEqual(list(game.root.glob("*.loaded")), [], "loaded at start")
        app.wait_for_state(stopped, timeout=20, what="the timer stopping")  # both pages fetched
        for checked in (True, False):
            mark = app.click(controls.playMusicToggle)
            self.assertEqual(app.wait_for_event(f"clicked {controls.playMusicToggle}",
                                                since=mark)["checked"][controls.playMusicToggle], checked)
        mark = app.press(controls.chooseMusicLink)
        app.release()
        app.key("Escape")
        app.wait_for_event(f"pressed {controls.chooseMusicLink}", since=mark, timeout=20)
        self.assertTrue(app.accessible())  # a screen reader
        self.assertEqual(list(game.root.glob("*.loaded")), [], "loaded by the pages, the music, the dialog or oleacc")
        self.assertEqual(app.close(), 0)

    def test_a_fifo_a_pipe_or_a_device_is_refused_at_once_and_the_window_answers(self):
        game = self.make_game(music=OLD_MUSIC)
        # FIFOs that a writer holds open and never writes to, so that a read would wait for ever:
        # what the start-up and the restore read, and one to type as the music.
        for rel in ("TCLS/ui/background_Loading.png", "TCLS/mmog_data.xml", "sound.mp3", "song.mp3"):
            os.mkfifo(game.path(rel))
            self.addCleanup(os.close, os.open(game.path(rel), os.O_RDWR))
        pipe = f"vorlane-e2e-{os.getpid()}"  # held the same way by a program in the prefix
        holder = subprocess.Popen(["wine", str(self.session.pipe_holder), pipe], env=self.session.env,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(holder.wait, 10)
        self.addCleanup(holder.kill)
        self.assertTrue(select.select([holder.stdout], [], [], 30)[0] and holder.stdout.readline().strip() == b"ready")
        app = self.start(game)
        self.assertEqual(app.state["labels"][controls.launcherStateLabel], "当前客户端：未知（启动器文件不是本程序写入的）")
        for path in (game.windows_path("song.mp3"), rf"\\.\pipe\{pipe}", r"Z:\dev\zero", "COM1", r"C:\music\nul.mp3"):
            self.assertEqual(self.install(app, path), UNREADABLE + path)
        mark = app.click(controls.restoreMusicButton)
        self.assertEqual(app.wait_for_message(since=mark), "提示：没有找到备份音乐文件：" + game.windows_path("sound.mp3"))
        app.dismiss_message()
        mark = app.click(controls.experienceChoice)
        self.assertTrue(app.wait_for_event(f"clicked {controls.experienceChoice}",
                                           since=mark)["checked"][controls.experienceChoice])
        self.assertEqual(game.read(MUSIC), OLD_MUSIC)
        self.assertEqual(app.close(), 0)

    def test_a_music_file_of_300_mib_is_copied_exactly_in_little_memory(self):
        game = self.make_game(music=OLD_MUSIC)
        big, written, block = self.workdir / "a whole film.mp3", hashlib.sha256(), os.urandom(1 << 20)
        with open(big, "wb") as out:
            for i in range(300):
                out.write(i.to_bytes(4, "little") + block[4:])
                written.update(i.to_bytes(4, "little") + block[4:])
        app = self.start(game)
        self.assertEqual(self.install(app, windows_path(big), timeout=180), DONE)
        with open(game.path(MUSIC), "rb") as copy:
            self.assertEqual(hashlib.file_digest(copy, "sha256").digest(), written.digest())
        self.assertFalse(game.exists(MUSIC + ".vorlane-new"))
        self.assertEqual(app.close(), 0)
        [peak] = [line["peak_working_set"] for line in app.lines() if "peak_working_set" in line]
        print(f"copying 300 MiB: peak working set {peak / (1 << 20):.1f} MiB", flush=True)
        self.assertLess(peak, 64 << 20)


if __name__ == "__main__":
    unittest.main()
