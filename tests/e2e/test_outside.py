"""What reaches the program from outside its own code: libraries lying in the game folder
under the names of system libraries, paths that name no ordinary file, and a music file far
larger than memory should hold."""
import hashlib
import os
import select
import subprocess
import unittest

from harness import E2ETestCase
from surroundings import serve_site, tone_mp3
from test_loading import DONE, MUSIC, UNREADABLE, install, windows_path
from test_online import stopped

NO_BACKUP = "提示：没有找到备份音乐文件："
UNKNOWN = "当前客户端：未知（启动器文件不是本程序写入的）"
OLD_MUSIC = b"ID3\x03\x00\x00\x00\x00\x00\x00 the launcher's music"

# Libraries the program, or the system on its behalf, loads after start: on first use (the
# pages, the music, the address, the file dialog, the browser, a screen reader) and what
# those load by name in turn (the music's MCI driver and DirectShow, the dialog's themes).
PLANTED = ("wininet", "winmm", "iphlpapi", "comdlg32", "shell32", "oleacc", "mciqtz32", "quartz", "msacm32",
           "dwmapi", "uxtheme", "shlwapi", "propsys", "winhttp", "ws2_32", "dnsapi", "mpr", "netapi32")


class PlantedLibraryTest(E2ETestCase):

    def test_no_library_is_taken_from_the_game_folder(self):
        game = self.make_game(music=tone_mp3(self.workdir / "tone.mp3", 3, 440))
        for name in PLANTED:
            game.write(f"{name}.dll", self.session.planted_dll.read_bytes())
        serve_site(self)
        # Wine takes its own copy of a system library wherever it finds one by that name;
        # Windows takes the file it finds. Told to prefer such a file, Wine does as Windows.
        overrides = f"{self.session.env.get('WINEDLLOVERRIDES', '')};{','.join(PLANTED)}=n,b"

        def none_loaded(after):
            self.assertEqual(sorted(p.name for p in game.root.glob("*.loaded")), [], f"loaded by {after}")

        app = self.start(game, env={"WINEDLLOVERRIDES": overrides})
        none_loaded("the start")
        app.wait_for_state(stopped, timeout=20, what="the timer stopping")
        none_loaded("the pages")
        for checked in (True, False):
            mark = app.click("图形按钮12")
            self.assertEqual(app.wait_for_event("clicked 图形按钮12", since=mark)["checked"]["图形按钮12"], checked)
        none_loaded("the music")
        mark = app.press("透明标签12")
        app.release()
        app.key("Escape")
        app.wait_for_event("pressed 透明标签12", since=mark, timeout=20)
        none_loaded("the file dialog")
        self.assertTrue(app.accessible())
        none_loaded("a screen reader")
        self.assertEqual(app.messages(), [])
        self.assertEqual(app.close(), 0)



class PathsThatNameNoFileTest(E2ETestCase):

    def hold_fifo(self, path):
        """A FIFO at `path` that a writer holds open and never writes to: a read would wait for ever."""
        os.mkfifo(path)
        writer = os.open(path, os.O_RDWR)
        self.addCleanup(os.close, writer)

    def hold_pipe(self, name):
        """The named pipe \\.\pipe\<name>, held the same way by a program in the test's Wine prefix."""
        holder = subprocess.Popen(["wine", str(self.session.pipe_holder), name], env=self.session.env,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(holder.wait, 10)
        self.addCleanup(holder.kill)
        ready, _, _ = select.select([holder.stdout], [], [], 30)
        self.assertTrue(ready and holder.stdout.readline().strip() == b"ready", "the pipe holder did not start")

    def test_a_fifo_a_pipe_or_a_device_is_refused_at_once_and_the_window_answers(self):
        game = self.make_game(music=OLD_MUSIC)
        # The loading picture, the launcher's version file and the backup music as FIFOs:
        # the start-up and the restore read them.
        for rel in ("TCLS/ui/background_Loading.png", "TCLS/mmog_data.xml", "sound.mp3"):
            self.hold_fifo(game.path(rel))
        fifo = self.workdir / "song.mp3"
        self.hold_fifo(fifo)
        pipe = f"vorlane-e2e-{os.getpid()}"
        self.hold_pipe(pipe)
        app = self.start(game)
        self.assertEqual(app.state["labels"]["透明标签16"], UNKNOWN)
        for path in (windows_path(fifo), rf"\\.\pipe\{pipe}", r"Z:\dev\zero", "COM1", r"C:\music\nul.mp3"):
            with self.subTest(path=path):
                self.assertEqual(install(app, path), UNREADABLE + path)
        mark = app.click("图形按钮9")
        self.assertEqual(app.wait_for_message(since=mark), NO_BACKUP + game.windows_path("sound.mp3"))
        app.dismiss_message()
        mark = app.click("单选框2")
        self.assertTrue(app.wait_for_event("clicked 单选框2", since=mark)["checked"]["单选框2"])
        self.assertEqual(game.read(MUSIC), OLD_MUSIC)
        self.assertEqual(app.close(), 0)

    def test_a_music_file_of_300_mib_is_copied_exactly_in_little_memory(self):
        game = self.make_game(music=OLD_MUSIC)
        big = self.workdir / "a whole film.mp3"
        written = hashlib.sha256()
        block = os.urandom(1 << 20)
        with open(big, "wb") as out:
            for i in range(300):
                piece = i.to_bytes(4, "little") + block[4:]
                out.write(piece)
                written.update(piece)
        app = self.start(game)
        self.assertEqual(install(app, windows_path(big), timeout=180), DONE)
        with open(game.path(MUSIC), "rb") as copy:
            self.assertEqual(hashlib.file_digest(copy, "sha256").digest(), written.digest())
        self.assertFalse(game.exists(MUSIC + ".vorlane-new"))
        self.assertEqual(app.close(), 0)
        peak = [line["peak_working_set"] for line in app.lines() if "peak_working_set" in line]
        self.assertEqual(len(peak), 1)
        print(f"copying 300 MiB: peak working set {peak[0] / (1 << 20):.1f} MiB", flush=True)
        self.assertLess(peak[0], 64 << 20)


if __name__ == "__main__":
    unittest.main()
