"""Switching the installed client between the two servers, and starting it, as a user does."""
import os
import stat
import unittest

from harness import E2ETestCase, changes, controls, wait_until
from surroundings import sample_game, x_geometry
import expected_files as expected

LIVE_DONE = "本程序为您成功切换成CF正服，即可进入游戏."
EXPERIENCE_DONE = "本程序为您成功切换成CF体验服，即可进入游戏."
NO_CHOICE = "提示：请先选中项目！"
NO_VERSION = "提示：请填写版本号！"
FAILED = "提示：切换失败，游戏文件未作任何修改。无法写入："
RETRY = "请确认本程序放在CF游戏根目录下，并关闭游戏后重试。"
GAME_RUNS = "提示：游戏正在运行，请先关闭游戏再切换："
NO_CLIENT = "提示：没有找到游戏程序："
CLIENT_FAILS = "提示：无法启动游戏程序："
STATE = controls.launcherStateLabel
UNKNOWN = "当前客户端：未知（启动器文件不是本程序写入的）"
RESTORE = controls.restoreLauncherLink
ORIGINAL = "当前客户端：游戏原来的启动器文件（未切换）"

# What a client installed some time ago holds (made up; only its bytes matter).
OLD_LAUNCHER = {
    expected.VERSION_FILE: b'<?xml version="1.0" encoding="gb2312"?>\r\n<VersionUpdateData>\r\n  <ClientConf>\r\n'
                           b'      <VersionData>\r\n           <Version>1.0.8.270</Version>\r\n'
                           b'       </VersionData>\r\n  </ClientConf>\r\n</VersionUpdateData>',
    expected.DIR_SERVERS: b'<!-- dir server ip ,port   -->\r\n<Server>\r\n    <DirServer count="2">\r\n'
                          b'        <Server1 Catalog="" host="old-dir.example.invalid" />\r\n    </DirServer>\r\n'
                          b'</Server>\r\n',
    expected.VERSION_SERVERS: b'<?xml version="1.0" encoding="gb2312" ?>\r\n<Server>\r\n'
                              b'    <versionserver version="1" count="1">\r\n'
                              b'        <server1 host="old-version.example.invalid" />\r\n'
                              b'    </versionserver>\r\n</Server>\r\n',
    expected.SERVER_CHOICE: b"[versionserver]\r\nsuccessfulserverid=2\r\nsuccessfulport=443\r\n",
    "TCLS/config/GameSettings.ini": b"[Video]\r\nWidth=1024\r\nHeight=768\r\n",
    "TCLS/ui/background_Loading.png": b"\x89PNG\r\n\x1a\n not really a picture",
    "TCLS/music/sound.mp3": b"ID3\x03\x00\x00\x00\x00\x00\x00 old loading music",
}


def journal(files):
    """The journal of a switch that replaces the files of OLD_LAUNCHER with `files` (by relative path)."""
    def checksum(data):  # 64-bit FNV-1a
        value = 0xcbf29ce484222325
        for byte in data:
            value = ((value ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
        return value
    text = b"vorlane journal 2\r\n" + b"".join(
        b"1 %d %016x 1 %d %016x " % (len(OLD_LAUNCHER[rel]), checksum(OLD_LAUNCHER[rel]), len(data), checksum(data)) +
        rel.replace("/", "\\").encode("gb18030") + b"\r\n" for rel, data in files.items())
    return text + b"end %016x\r\n" % checksum(text)


class ServerSwitchTest(E2ETestCase):

    def installed_game(self, folder="game", **options):
        game = self.make_game(folder, **options)
        for rel, data in OLD_LAUNCHER.items():
            game.write(rel, data)
        return game

    def press_switch(self, app):
        """Clicks 转 换, reads the message it shows, closes it; returns the message and the state after."""
        mark = app.click(controls.switchButton)
        message = app.wait_for_message(since=mark)
        app.dismiss_message()
        return message, app.wait_for_event(f"clicked {controls.switchButton}", since=mark)

    def choose(self, app, radio):
        mark = app.click(radio)
        return app.wait_for_event(f"clicked {radio}", since=mark)

    def test_each_switch_writes_the_four_launcher_files(self):
        game = self.installed_game()
        untouched = {rel: data for rel, data in game.snapshot().items() if rel not in expected.SWITCHED_FILES}
        # The game's own four are kept by the first switch.
        untouched.update({"Vorlane备份/" + rel: OLD_LAUNCHER[rel] for rel in expected.SWITCHED_FILES})
        app = self.start(game)
        self.assertEqual(app.state["labels"][STATE], UNKNOWN)
        cases = [
            (controls.experienceChoice, controls.experienceVersionBox, controls.liveVersionBox, "1.0.12.345",
             EXPERIENCE_DONE, expected.experience_files),
            (controls.liveChoice, controls.liveVersionBox, controls.experienceVersionBox, "1.0.9.310", LIVE_DONE,
             expected.live_files),
        ]
        for radio, box, other_box, version, done, files in cases:
            with self.subTest(radio=radio):
                state = self.choose(app, radio)
                self.assertTrue(state["checked"][radio])
                self.assertTrue(state["edits"][box]["enabled"])
                self.assertFalse(state["edits"][other_box]["enabled"])

                app.type_into(box, version)
                message, state = self.press_switch(app)
                self.assertEqual(message, done)
                self.assertEqual(state["edits"][box]["text"], version)
                server = "正服" if radio == controls.liveChoice else "体验服"
                self.assertEqual(state["labels"][STATE], f"当前客户端：{server} {version}")
                after = game.snapshot()
                for rel, data in files(version).items():
                    self.assertEqual(after.pop(rel, None), data, rel)
                self.assertIsNotNone(after.pop("Vorlane备份/备份清单.txt", None))
                self.assertEqual(changes(untouched, after), [])

    def test_switch_is_refused_without_a_choice_or_a_version_or_while_the_game_runs(self):
        game = self.installed_game(client="stays")
        app = self.start(game)
        app.type_into(controls.experienceVersionBox, "1.0.12.345")
        client = game.windows_path("TCLS\\Client.exe")
        for radio, typed, refusal in ((None, None, NO_CHOICE), (controls.liveChoice, None, NO_VERSION),
                                      (controls.liveChoice, "1.0</Version><x>", "提示：版本号不能包含 < > & 或控制字符，请重新填写！"),
                                      (controls.experienceChoice, None, GAME_RUNS + "\r\n" + client)):
            with self.subTest(radio=radio, typed=typed):
                if radio:
                    self.choose(app, radio)
                if typed:
                    app.type_into(controls.liveVersionBox, typed)
                if refusal.startswith(GAME_RUNS):
                    mark = app.click(controls.startGameButton)
                    app.wait_for_event(f"clicked {controls.startGameButton}", since=mark)
                    wait_until(game.client_starts, 15, what="start of TCLS\\Client.exe")
                before = game.snapshot()
                message, state = self.press_switch(app)
                self.assertEqual(message, refusal)
                self.assertEqual(changes(before, game.snapshot()), [])
                self.assertEqual(state["labels"][STATE], UNKNOWN)

    def test_a_switch_cut_short_by_a_crash_is_finished_or_undone_at_start(self):
        live = expected.live_files("1.0.9.310")
        old = {rel: OLD_LAUNCHER[rel] for rel in expected.SWITCHED_FILES}
        # Killed after its journal was whole and two files had moved, or while writing the journal.
        for moved, cut, after, state in ((2, False, live, "当前客户端：正服 1.0.9.310"), (0, True, old, UNKNOWN)):
            with self.subTest(cut=cut):
                game = self.installed_game("cut" if cut else "whole")
                for rel in expected.SWITCHED_FILES[:moved]:
                    game.write(rel + ".vorlane-old", OLD_LAUNCHER[rel])
                    game.write(rel, live[rel])
                for rel in expected.SWITCHED_FILES[moved:]:
                    game.write(rel + ".vorlane-new", live[rel])
                text = journal(live)
                game.write("TCLS/switch.vorlane-journal", text[:len(text) // 2] if cut else text)
                app = self.start(game)
                self.assertEqual(app.state["labels"][STATE], state)
                files = game.snapshot()
                self.assertEqual({rel: files.get(rel) for rel in expected.SWITCHED_FILES}, after)
                self.assertEqual([rel for rel in files if "vorlane" in rel], [])
                self.assertEqual(app.messages(), [])
                app.stop()

    def test_a_switch_cut_short_waits_for_the_game_to_end(self):
        live = expected.live_files("1.0.9.310")
        game = self.installed_game(client="stays")
        app = self.start(game)
        mark = app.click(controls.startGameButton)
        app.wait_for_event(f"clicked {controls.startGameButton}", since=mark)
        wait_until(game.client_starts, 15, what="start of TCLS\\Client.exe")
        self.assertEqual(app.close(), 0)
        # The program was killed after moving the version file, while the game ran.
        game.write(expected.VERSION_FILE + ".vorlane-old", OLD_LAUNCHER[expected.VERSION_FILE])
        game.write(expected.VERSION_FILE, live[expected.VERSION_FILE])
        for rel in expected.SWITCHED_FILES[1:]:
            game.write(rel + ".vorlane-new", live[rel])
        game.write("TCLS/switch.vorlane-journal", journal(live))
        before = game.snapshot()

        app = self.start(game, logs="while the game runs")
        self.assertEqual(app.wait_for_message(), "提示：游戏正在运行，上次未完成的切换将在游戏关闭后重新打开本程序时完成：\r\n" +
                         game.windows_path("TCLS\\Client.exe"))
        app.dismiss_message()
        self.assertEqual(changes(before, game.snapshot()), [])
        self.choose(app, controls.liveChoice)
        app.type_into(controls.liveVersionBox, "1.0.9.310")
        self.assertEqual(self.press_switch(app)[0], GAME_RUNS + "\r\n" + game.windows_path("TCLS\\Client.exe"))
        self.assertEqual(app.close(), 0)

        game.path("TCLS/client_stays_running").unlink()  # the game ends
        wait_until(lambda: not self.session.x_windows("Client stand-in"), 10, what="the end of the game")
        app = self.start(game, logs="after the game")
        self.assertEqual(app.state["labels"][STATE], "当前客户端：正服 1.0.9.310")
        self.assertEqual([rel for rel in game.snapshot() if "vorlane" in rel], [])
        self.assertEqual(app.messages(), [])

    def test_a_second_copy_in_the_folder_shows_the_first(self):
        game = self.installed_game()
        app = self.start(game)
        window = app.x_window()
        mark = app.click(controls.minimiseButton)
        app.wait_for_event(f"clicked {controls.minimiseButton}", since=mark)
        # Wine without a window manager shows a minimised window as a small title bar in its place.
        wait_until(lambda: x_geometry(self.session, window["id"])[0] != window["rect"], 5, what="the window minimised")
        second = self.session.wine(game.path("vorlane.exe"), timeout=30)
        self.assertEqual(second.returncode, 0)
        wait_until(lambda: x_geometry(self.session, window["id"])[0] == window["rect"], 10,
                   what="the first copy's window restored")
        self.assertEqual(len(self.session.x_windows()), 1)
        self.assertTrue(app.running())

    def test_the_games_own_launcher_files_and_music_are_kept_and_come_back(self):
        game = sample_game(self)
        installed = {rel: data for rel, data in game.snapshot().items() if rel in expected.SWITCHED_FILES}
        self.assertEqual(sorted(installed), [expected.SERVER_CHOICE, expected.VERSION_FILE])
        app = self.start(game)
        self.assertEqual(app.state["labels"][STATE], UNKNOWN)
        self.assertIn(RESTORE, app.state["hidden"])
        for radio, box, version in ((controls.experienceChoice, controls.experienceVersionBox, "1.0.12.345"),
                                    (controls.liveChoice, controls.liveVersionBox, "1.0.9.310")):
            self.choose(app, radio)
            app.type_into(box, version)
            message, state = self.press_switch(app)
            self.assertIn(message, (LIVE_DONE, EXPERIENCE_DONE))
            self.assertNotIn(RESTORE, state["hidden"])
        backup = {rel: data for rel, data in game.snapshot().items() if rel.startswith("Vorlane备份/")}
        self.assertEqual(sorted(backup), ["Vorlane备份/" + rel for rel in sorted(installed)] + ["Vorlane备份/备份清单.txt"])

        mark = app.click(RESTORE)
        self.assertEqual(app.wait_for_message(since=mark), "确定要把启动器文件恢复为本程序第一次切换前的样子吗？")
        app.dismiss_message()  # Yes, the default
        self.assertEqual(app.wait_for_message(since=mark + 1), "提示：已恢复游戏原来的启动器文件。")
        app.dismiss_message()
        state = app.wait_for_event(f"pressed {RESTORE}", since=mark)
        self.assertEqual(state["labels"][STATE], ORIGINAL)
        self.assertIn(RESTORE, state["hidden"])
        files = game.snapshot()
        self.assertEqual({rel: files.get(rel) for rel in expected.SWITCHED_FILES},
                         {rel: installed.get(rel) for rel in expected.SWITCHED_FILES})
        self.assertEqual({rel: data for rel, data in files.items() if rel.startswith("Vorlane备份/")}, backup)

        # The launcher's own music is kept beside the program at the first change, for 还 原.
        own, tune = game.read("TCLS/music/sound.mp3"), game.read("音乐/夜巡.mp3")
        self.assertFalse(game.exists("sound.mp3"))
        app.type_into(controls.musicPathBox, game.windows_path("音乐\\夜巡.mp3"))
        mark = app.click(controls.installMusicButton)
        self.assertEqual(app.wait_for_message(since=mark), "提示：OK了，现在就可以用了。")
        app.dismiss_message()
        self.assertEqual((game.read("TCLS/music/sound.mp3"), game.read("sound.mp3")), (tune, own))
        mark = app.click(controls.restoreMusicButton)
        app.wait_for_event(f"clicked {controls.restoreMusicButton}", since=mark)
        self.assertEqual(game.read("TCLS/music/sound.mp3"), own)

    def test_read_only_launcher_files_fail_the_switch_and_change_nothing(self):
        game = self.installed_game()
        app = self.start(game)
        self.choose(app, controls.liveChoice)
        app.type_into(controls.liveVersionBox, "1.0.9.310")
        # Wine gives a file the read-only attribute when it has no write bit, even for root.
        lock = stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH
        unlock = lock | stat.S_IWUSR
        cases = [
            (expected.SWITCHED_FILES, expected.VERSION_FILE),
            ((expected.SERVER_CHOICE,), expected.SERVER_CHOICE),  # the last in order: the first three are put back
        ]
        for locked, named in cases:
            with self.subTest(locked=locked):
                for rel in expected.SWITCHED_FILES:
                    os.chmod(game.path(rel), lock if rel in locked else unlock)
                before = game.snapshot()
                message, state = self.press_switch(app)
                self.assertEqual(message, FAILED + "\r\n" + game.windows_path(named) + "\r\n" + RETRY)
                # The game's own files, kept by the first attempt, are what the launcher still holds.
                self.assertEqual([c for c in changes(before, game.snapshot()) if not c.startswith("added Vorlane备份/")],
                                 [])
                self.assertEqual(state["labels"][STATE], ORIGINAL)


class ClientLaunchTest(E2ETestCase):

    def test_open_cf_says_when_the_client_is_missing_or_cannot_start(self):
        for client, refusal in ((None, NO_CLIENT), (b"MZ not a program", CLIENT_FAILS)):
            with self.subTest(refusal=refusal):
                game = self.make_game("missing" if client is None else "broken", client=False)
                if client is not None:
                    game.write("TCLS/Client.exe", client)
                app = self.start(game)
                mark = app.click(controls.startGameButton)
                self.assertEqual(app.wait_for_message(since=mark), refusal + game.windows_path("TCLS\\Client.exe"))
                app.dismiss_message()
                app.stop()

    def test_open_cf_starts_the_client_by_its_quoted_path_in_its_folder(self):
        game = self.make_game("穿越 火线")
        app = self.start(game)
        mark = app.click(controls.startGameButton)
        app.wait_for_event(f"clicked {controls.startGameButton}", since=mark)
        starts = wait_until(game.client_starts, 15, what="start of TCLS\\Client.exe")
        client = game.windows_path("TCLS\\Client.exe")
        self.assertEqual(starts, [{"command_line": f'"{client}"', "cwd": game.windows_path("TCLS"), "exe": client}])
        self.assertTrue(app.running())
        self.assertEqual(app.messages(), [])


if __name__ == "__main__":
    unittest.main()
