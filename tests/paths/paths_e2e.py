#!/usr/bin/env python3
"""The switch and the loading music, done by the real test build under Wine in game folders
whose paths are hard: spaces and Chinese characters, characters outside GBK, more than 260
characters.

Every game folder sits in a folder that the Wine drive P: stands for, beside a launcher
folder TCLS and a sound.mp3 of its own, as when a game is installed at a drive root and a
copy of it one level down: a path that lost its game folder lands there. So after every
action nothing outside the game folder may have changed, and a failure must name the game
folder. Where a folder's name cannot be converted (an emoji under Wine 8, which has GBK but
not GB18030), the action fails with its message; where it can, it succeeds byte for byte.
"""
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "torture"))
import campaign  # noqa: E402
import expected_files as expected  # noqa: E402
from harness import E2ETestCase, GameFolder, changes, controls, wait_until  # noqa: E402

DRIVE = "p:"
VERSION = "1.0.12.345"
EXPERIENCE_DONE = "本程序为您成功切换成CF体验服，即可进入游戏."
SWITCH_FAILED = "提示：切换失败，游戏文件未作任何修改。无法写入："
RETRY = "请确认本程序放在CF游戏根目录下，并关闭游戏后重试。"
MUSIC_DONE = "提示：OK了，现在就可以用了。"
MUSIC_NOT_WRITTEN = "提示：无法写入背景音乐文件："
NO_BACKUP = "提示：没有找到备份音乐文件："

OLD_MUSIC = b"ID3\x03\x00\x00\x00\x00\x00\x00 the launcher's music"
BACKUP_MUSIC = b"ID3\x03\x00\x00\x00\x00\x00\x00 the player's backup"
NEW_MUSIC = b"ID3\x03\x00\x00\x00\x00\x00\x00 a new loading music"
OLD_LAUNCHER = {rel: f"old {rel}\r\n".encode() for rel in expected.SWITCHED_FILES}

# Nested folders whose Windows path is well over 260 characters.
LONG = "/".join(f"穿越火线 game folder {i} " + "long name " * 5 for i in range(5))


def snapshot(root):
    return {str(p.relative_to(root)): p.read_bytes() for p in sorted(root.rglob("*")) if p.is_file()}


class PathsTest(E2ETestCase):

    def setUp(self):
        super().setUp()
        self.root = self.workdir / "drive"
        decoy = GameFolder(self.root, self.session, client=False, music=OLD_MUSIC, backup_music=BACKUP_MUSIC)
        for rel, data in OLD_LAUNCHER.items():
            decoy.write(rel, data)
        link = Path(self.session.env["WINEPREFIX"]) / "dosdevices" / DRIVE
        if link.is_symlink():
            link.unlink()
        link.symlink_to(self.root)
        self.addCleanup(link.unlink)
        self.source = self.workdir / "source" / "new.mp3"
        self.source.parent.mkdir()
        self.source.write_bytes(NEW_MUSIC)

    def windows_path(self, rel):
        return DRIVE.upper() + "\\" + rel.replace("/", "\\")

    def assert_only_game_changed(self, before, name):
        outside = [c for c in changes(before, snapshot(self.root)) if not c.split(" ", 1)[1].startswith(name + "/")]
        self.assertEqual(outside, [], "a file outside the game folder changed")

    def assert_names_game_folder(self, message, head, tail, name):
        """The message is head + a path in the game folder + tail."""
        self.assertTrue(message.startswith(head) and message.endswith(tail), repr(message))
        path = message[len(head):len(message) - len(tail)]
        # The part of the folder's name up to its first odd character, at least.
        readable = self.windows_path(name)[:len(DRIVE) + 4]
        self.assertTrue(path.startswith(readable), f"{path!r} does not name the game folder {readable!r}...")

    def message_or_event(self, app, mark, control):
        """Clicks `control`; returns the message it showed (dismissed), or None."""
        event = f"clicked {control}"
        wait_until(lambda: app.messages(mark) or [s for s in app.states(mark) if s["event"] == event], 15,
                   what=f"a message or the end of {event}")
        messages = app.messages(mark)
        if messages:
            app.wait_for_message(since=mark)
            app.dismiss_message()
            app.wait_for_event(event, since=mark)
            return messages[0]
        return None

    def run_flow(self, name):
        game = GameFolder(self.root / name, self.session, music=OLD_MUSIC, backup_music=BACKUP_MUSIC)
        for rel, data in OLD_LAUNCHER.items():
            game.write(rel, data)
        app = self.start(game)
        outcome = []

        before = snapshot(self.root)
        mark = app.click(controls.experienceChoice)
        app.wait_for_event(f"clicked {controls.experienceChoice}", since=mark)
        app.type_into(controls.experienceVersionBox, VERSION)
        message = self.message_or_event(app, app.click(controls.switchButton), controls.switchButton)
        if message == EXPERIENCE_DONE:
            for rel, data in expected.experience_files(VERSION).items():
                self.assertEqual(game.read(rel), data, rel)
        else:
            self.assert_names_game_folder(message, SWITCH_FAILED + "\r\n", "\r\n" + RETRY, name)
            self.assertEqual(changes(before, snapshot(self.root)), [])
        self.assert_only_game_changed(before, name)
        outcome.append("switch written" if message == EXPERIENCE_DONE else f"switch refused: {message!r}")

        before = snapshot(self.root)
        app.type_into(controls.musicPathBox, "Z:" + str(self.source).replace("/", "\\"))
        message = self.message_or_event(app, app.click(controls.installMusicButton), controls.installMusicButton)
        if message == MUSIC_DONE:
            self.assertEqual(game.read("TCLS/music/sound.mp3"), NEW_MUSIC)
        else:
            self.assert_names_game_folder(message, MUSIC_NOT_WRITTEN, "\r\n" + RETRY, name)
            self.assertEqual(changes(before, snapshot(self.root)), [])
        self.assert_only_game_changed(before, name)
        outcome.append("install written" if message == MUSIC_DONE else f"install refused: {message!r}")

        before = snapshot(self.root)
        message = self.message_or_event(app, app.click(controls.restoreMusicButton), controls.restoreMusicButton)
        if message is None:
            self.assertEqual(game.read("TCLS/music/sound.mp3"), BACKUP_MUSIC)
        else:
            self.assert_names_game_folder(message, NO_BACKUP, "\\sound.mp3", name)
            self.assertEqual(changes(before, snapshot(self.root)), [])
        self.assert_only_game_changed(before, name)
        outcome.append("restore written" if message is None else f"restore refused: {message!r}")

        # The preview plays and stops without a word, whatever the folder.
        before = snapshot(self.root)
        mark = app.mark()
        for checked in (True, False):
            state = app.wait_for_event(f"clicked {controls.playMusicToggle}", since=app.click(controls.playMusicToggle))
            self.assertEqual(state["checked"][controls.playMusicToggle], checked)
        self.assertEqual(app.messages(mark), [])
        self.assertEqual(changes(before, snapshot(self.root)), [])

        self.assertEqual(app.close(), 0)
        print(f"paths: {self.windows_path(name)[:60]}{'...' if len(name) > 56 else ''} "
              f"({len(self.windows_path(name))} characters): {', '.join(outcome)}", flush=True)

    def test_spaces_and_chinese(self):
        self.run_flow("Cross Fire 穿越火线 客户端")

    def test_euro_sign_outside_gb2312(self):
        self.run_flow("CF € 客户端")

    def test_emoji_outside_gbk(self):
        self.run_flow("CF 🎮 客户端")

    def test_longer_than_260_characters(self):
        self.assertGreater(len(self.windows_path(LONG)), 260)
        self.run_flow(LONG)


if __name__ == "__main__":
    os.chdir(Path(__file__).resolve().parent)
    sys.exit(campaign.main("paths_e2e"))
