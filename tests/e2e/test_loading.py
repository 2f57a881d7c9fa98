"""The loading screen's music and background picture, changed and previewed as a user does."""
import unittest

from harness import SCREEN, E2ETestCase, changes, controls, preview_controls, wait_until
from images import block_picture
from surroundings import program_windows, tone_mp3

DONE = "提示：OK了，现在就可以用了。"
UNREADABLE = "提示：无法读取mp3文件："
MUSIC = "TCLS/music/sound.mp3"
DIALOG_TITLES = ("Open", "打开")
CLOSE_BUTTON = (0, 32, 376, 32)


def music_game(test, seconds=2):
    """A game folder whose launcher music, backup copy and a file of the user's are three
    different MP3 files; returns the folder and the user's file (path, bytes)."""
    tones = test.workdir / "tones"
    tones.mkdir()
    game = test.make_game(music=tone_mp3(tones / "installed.mp3", seconds, 440),
                          backup_music=tone_mp3(tones / "backup.mp3", seconds, 550))
    chosen = test.workdir / "my music" / "loading tune.mp3"
    chosen.parent.mkdir()
    return game, chosen, tone_mp3(chosen, seconds, 660)


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class LoadingMusicTest(E2ETestCase):

    def click(self, app, name):
        mark = app.click(name)
        return app.wait_for_event(f"clicked {name}", since=mark)

    def install(self, app, path, timeout=10):
        """Types `path` over what the music box holds, clicks install; returns the message it showed."""
        app.click(controls.musicPathBox)
        app.key("End", "shift+Home")
        app.s.xdotool("type", "--delay", "30", "--", path)
        mark = app.click(controls.installMusicButton)
        message = app.wait_for_message(since=mark, timeout=timeout)
        app.dismiss_message()
        app.wait_for_event(f"clicked {controls.installMusicButton}", since=mark)
        return message

    def dialog(self):
        for title in DIALOG_TITLES:
            found = [w for w in self.session.x_windows(title) if w["viewable"]]
            if found:
                return found
        return None

    def test_pressing_the_folder_label_opens_the_dialog_whose_choice_fills_the_music_box(self):
        game, chosen, _ = music_game(self)
        app = self.start(game)
        cases = [
            # what is typed into the dialog, then the key, and what the music box then holds
            (windows_path(chosen), "Return", windows_path(chosen)),
            ("", "Escape", windows_path(chosen)),  # a cancel keeps the last choice
        ]
        for typed, key, expected in cases:
            with self.subTest(key=key):
                mark = app.press(controls.chooseMusicLink)
                wait_until(self.dialog, 10, what=f"a dialog titled one of {DIALOG_TITLES}")
                app.release()
                if typed:
                    app.s.xdotool("type", "--delay", "30", "--", typed)
                app.key(key)
                state = app.wait_for_event(f"pressed {controls.chooseMusicLink}", since=mark)
                self.assertEqual(state["edits"][controls.musicPathBox]["text"], expected)
                wait_until(lambda: not self.dialog(), 5, what="the dialog closed")
        self.assertEqual(app.messages(), [])

    def test_install_copies_the_chosen_file_and_restore_the_backup(self):
        game, chosen, chosen_bytes = music_game(self)
        backup = game.read("sound.mp3")
        app = self.start(game)
        before = game.snapshot()

        missing = windows_path(chosen.with_name("gone.mp3"))
        self.assertEqual(self.install(app, missing), UNREADABLE + missing)
        self.assertEqual(changes(before, game.snapshot()), [])

        self.assertEqual(self.install(app, windows_path(chosen)), DONE)
        self.assertEqual(game.read(MUSIC), chosen_bytes)
        self.assertEqual(changes(before, game.snapshot()), [f"changed {MUSIC}"])

        mark = app.mark()
        self.click(app, controls.restoreMusicButton)
        self.assertEqual(game.read(MUSIC), backup)
        self.assertEqual(changes(before, game.snapshot()), [f"changed {MUSIC}"])
        self.assertEqual(app.messages(since=mark), [])
        self.assertEqual(chosen.read_bytes(), chosen_bytes)

    def test_preview_toggles_and_keeps_playing_through_install_and_restore(self):
        game, chosen, chosen_bytes = music_game(self, seconds=20)
        app = self.start(game)
        self.assertFalse(app.state["checked"][controls.playMusicToggle])
        self.assertTrue(self.click(app, controls.playMusicToggle)["checked"][controls.playMusicToggle])

        self.assertEqual(self.install(app, windows_path(chosen)), DONE)
        self.assertEqual(game.read(MUSIC), chosen_bytes)
        self.assertTrue(self.click(app, controls.restoreMusicButton)["checked"][controls.playMusicToggle])
        self.assertEqual(game.read(MUSIC), game.read("sound.mp3"))

        for checked in (False, True, False):
            self.assertEqual(self.click(app, controls.playMusicToggle)["checked"][controls.playMusicToggle], checked)
        self.assertTrue(app.running())
        self.assertEqual(app.messages(), [DONE])


class FullScreenPreviewTest(E2ETestCase):
    """The picture is larger than the screen, then replaced by a smaller one."""

    FIRST = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255)]
    SECOND = [(255, 0, 255), (255, 255, 255), (128, 64, 0)]

    def open_preview(self, app):
        mark = app.click(controls.fullScreenButton)
        state = app.wait_for_state(lambda s: "preview" in s, since=mark, what="the preview window")
        screen = [0, 0, *SCREEN]
        self.assertEqual(state["preview"], screen)
        windows = wait_until(lambda: [wid for wid, rect in program_windows(self.session).items() if rect == screen],
                             10, what="an X window of the screen's size at 0,0")
        self.assertEqual(len(windows), 1)
        self.assertEqual(app.preview_layout()[preview_controls.pictureBox], screen)
        self.assertEqual(app.preview_layout()[preview_controls.closeButton], list(CLOSE_BUTTON))
        return windows[0]

    def close_preview(self, app, preview):
        mark = app.click(controls.experienceChoice)  # lands on the preview, which covers the main window
        app.click(preview_controls.closeButton, preview=True)
        closing = f"clicked {preview_controls.closeButton}"
        closed = app.wait_for_state(lambda s: s["event"] == closing and "preview" not in s, since=mark,
                                    what="the preview closed")
        self.assertFalse(closed["checked"][controls.experienceChoice],
                         "a click reached the main window under the preview")
        wait_until(lambda: preview not in program_windows(self.session), 5, what="the preview's X window gone")

    def wait_for_picture(self, app, colour_at, width, height, ground, name):
        """Screenshots until the screen shows the picture (width x height) from its top-left
        corner with the close button's plate over it; returns the screenshot."""
        left, top, _, button_h = CLOSE_BUTTON
        picture = ((0, 0), (1, 0), (0, 1), (39, 31), (40, 0), (0, top + button_h), (377, 40), (500, top + 1),
                   (640, 400), (width - 1, 0), (0, height - 1), (width - 1, height - 1))
        plate = ((left, top), (left + 20, top + button_h // 2), (left, top + button_h - 1), (300, top + 2))
        wrong = []

        def shown():
            image = app.screenshot()
            wrong[:] = [f"picture pixel {p}: {image.pixel(*p)}, not {colour_at(*p)}" for p in picture
                        if image.pixel(*p) != colour_at(*p)]
            wrong.extend(f"no close button plate at {p}: {image.pixel(*p)}" for p in plate if image.pixel(*p) in ground)
            return None if wrong else image

        try:
            return wait_until(shown, 5, what="the picture")
        except AssertionError:
            app.screenshot(name)
            self.fail(f"the preview does not show the picture (see {app.workdir / name}.png): {wrong}")

    def test_preview_shows_the_picture_full_screen_and_closes_back_to_the_main_window(self):
        first, first_at = block_picture(1400, 900, 40, self.FIRST)
        app = self.start(self.make_game(picture=first))
        preview = self.open_preview(app)
        self.wait_for_picture(app, first_at, *SCREEN, set(self.FIRST), "first")
        self.close_preview(app, preview)
        mark = app.click(controls.liveChoice)
        self.assertTrue(app.wait_for_event(f"clicked {controls.liveChoice}",
                                           since=mark)["checked"][controls.liveChoice])

        second, second_at = block_picture(700, 500, 25, self.SECOND)
        app.game.write("TCLS/ui/background_Loading.png", second)
        preview = self.open_preview(app)
        image = self.wait_for_picture(app, second_at, 700, 500, set(self.SECOND), "second")
        uncovered = {image.pixel(x, y) for x, y in ((700, 0), (1279, 799), (0, 500), (900, 300))}
        self.assertFalse(uncovered & set(self.FIRST + self.SECOND), f"the ground beyond the picture: {uncovered}")
        self.close_preview(app, preview)
        self.assertEqual(app.messages(), [])


if __name__ == "__main__":
    unittest.main()
