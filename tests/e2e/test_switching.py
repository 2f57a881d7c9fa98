"""Switching the installed client between the two servers, and starting it, as a user does."""
import os
import stat
import unittest

from harness import E2ETestCase, changes, wait_until
import expected_files as expected

LIVE_DONE = "本程序为您成功切换成CF正服，即可进入游戏."
EXPERIENCE_DONE = "本程序为您成功切换成CF体验服，即可进入游戏."
NO_CHOICE = "提示：请先选中项目！"
NO_VERSION = "提示：请填写版本号！"
FAILED = "提示：切换失败，游戏文件未作任何修改。无法写入："
RETRY = "请确认本程序放在CF游戏根目录下，并关闭游戏后重试。"

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


class ServerSwitchTest(E2ETestCase):

    def installed_game(self, folder="game"):
        game = self.make_game(folder)
        for rel, data in OLD_LAUNCHER.items():
            game.write(rel, data)
        return game

    def press_switch(self, app):
        """Clicks 转 换, reads the message it shows, closes it; returns the message and the state after."""
        mark = app.click("图形按钮2")
        message = app.wait_for_message(since=mark)
        app.dismiss_message()
        return message, app.wait_for_event("clicked 图形按钮2", since=mark)

    def choose(self, app, radio):
        mark = app.click(radio)
        return app.wait_for_event(f"clicked {radio}", since=mark)

    def test_each_switch_writes_the_four_launcher_files(self):
        game = self.installed_game()
        untouched = {rel: data for rel, data in game.snapshot().items() if rel not in expected.SWITCHED_FILES}
        app = self.start(game)
        cases = [
            ("单选框2", "编辑框1", "编辑框2", "1.0.12.345", EXPERIENCE_DONE, expected.experience_files),
            ("单选框1", "编辑框2", "编辑框1", "1.0.9.310", LIVE_DONE, expected.live_files),
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
                after = game.snapshot()
                for rel, data in files(version).items():
                    self.assertEqual(after.pop(rel, None), data, rel)
                self.assertEqual(changes(untouched, after), [])

    def test_switch_is_refused_without_a_choice_or_a_version(self):
        game = self.installed_game()
        before = game.snapshot()
        app = self.start(game)
        app.type_into("编辑框1", "1.0.12.345")
        for radio, refusal in ((None, NO_CHOICE), ("单选框1", NO_VERSION)):
            with self.subTest(radio=radio):
                if radio:
                    self.choose(app, radio)
                message, _ = self.press_switch(app)
                self.assertEqual(message, refusal)
                self.assertEqual(changes(before, game.snapshot()), [])

    def test_read_only_launcher_files_fail_the_switch_and_change_nothing(self):
        game = self.installed_game()
        app = self.start(game)
        self.choose(app, "单选框1")
        app.type_into("编辑框2", "1.0.9.310")
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
                message, _ = self.press_switch(app)
                self.assertEqual(message, FAILED + "\r\n" + game.windows_path(named) + "\r\n" + RETRY)
                self.assertEqual(changes(before, game.snapshot()), [])


class ClientLaunchTest(E2ETestCase):

    def test_open_cf_starts_the_client_by_its_quoted_path_in_its_folder(self):
        game = self.make_game("穿越 火线")
        app = self.start(game)
        mark = app.click("图形按钮10")
        app.wait_for_event("clicked 图形按钮10", since=mark)
        starts = wait_until(game.client_starts, 15, what="start of TCLS\\Client.exe")
        client = game.windows_path("TCLS\\Client.exe")
        self.assertEqual(starts, [{"command_line": f'"{client}"', "cwd": game.windows_path("TCLS"), "exe": client}])
        self.assertTrue(app.running())
        self.assertEqual(app.messages(), [])


if __name__ == "__main__":
    unittest.main()
