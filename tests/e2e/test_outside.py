"""What reaches the program from outside its own code: libraries lying in the game folder
under the names of system libraries, and paths that name no ordinary file."""
import unittest

from harness import E2ETestCase
from surroundings import serve_site, tone_mp3
from test_online import stopped

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


if __name__ == "__main__":
    unittest.main()
