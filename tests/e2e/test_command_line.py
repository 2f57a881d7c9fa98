"""One click from the desktop: the command line that switches (and starts the game) without
the window, and the link that puts a shortcut to it on the desktop."""
import unittest

from harness import E2ETestCase, changes, controls, wait_until
from test_switching import OLD_LAUNCHER, journal
import expected_files as expected

V = "1.0.9.310"
USAGE = "提示：命令行有误，本程序未作任何操作。\r\n用法："


class CommandLineTest(E2ETestCase):

    def test_each_exit_code_with_its_box_and_the_launcher_files_it_leaves(self):
        game, pending = self.make_game("game", client="stays"), self.make_game("pending", client=False)
        for folder in (game, pending):
            for rel, data in OLD_LAUNCHER.items():
                folder.write(rel, data)
        # A switch cut short: only a run that gets as far as switching undoes it, first.
        pending.write("TCLS/switch.vorlane-journal", journal(expected.live_files(V))[:40])
        cases = [  # folder, arguments, exit code, start of its box, launcher files after, client starts after
            (game, ("--live", V), 0, None, expected.live_files(V), 0),
            (game, ("--experience", "1.0<", "--start"), 1, "提示：版本号不能包含 < > & 或控制字符", None, 0),
            (game, ("--start", "--experience", V), 0, None, expected.experience_files(V), 1),
            (game, ("--live", V), 1, "提示：游戏正在运行，请先关闭游戏再切换：\r\n" + game.windows_path("TCLS\\Client.exe"),
             None, 1),
            (pending, ("--live",), 2, USAGE, None, 0),
            (pending, ("--live", V, "--experience", V), 2, USAGE, None, 0),
            (pending, ("--experience", V, "--start"), 1, "提示：没有找到游戏程序：", expected.experience_files(V), 0),
        ]
        for i, (folder, arguments, code, box, files, starts) in enumerate(cases):
            with self.subTest(arguments=arguments):
                before = folder.snapshot()
                app = self.run_command(folder, *arguments, logs=f"run {i}")
                if box:
                    self.assertTrue(app.wait_for_message().startswith(box), app.messages())
                    app.dismiss_message()
                self.assertEqual((app.proc.wait(30), len(app.messages())), (code, 1 if box else 0))
                if files is None:
                    self.assertEqual(changes(before, folder.snapshot()), [])
                else:
                    self.assertEqual({rel: folder.read(rel) for rel in expected.SWITCHED_FILES}, files)
                    self.assertEqual([rel for rel in folder.snapshot() if "vorlane" in rel], [])
                # The client may start after the program has ended.
                wait_until(lambda: len(folder.client_starts()) >= starts, 15, what="the client's start")
                self.assertEqual(len(folder.client_starts()), starts)

    def test_the_link_shows_for_a_usable_version_and_its_shortcut_switches_and_starts(self):
        version = '1.2 "b\\'  # a space, and a quote and a backslash that the quoting must keep
        shortcut = self.session.desktop / "CF体验服 1.2 _b_.lnk"
        self.addCleanup(shortcut.unlink, missing_ok=True)
        game = self.make_game("CF game")  # Wine keeps a shortcut's target path in ANSI only
        app = self.start(game)
        self.assertIn(controls.desktopShortcutLink, app.state["hidden"])
        for step, event, text, shown in ((lambda: app.type_into(controls.experienceVersionBox, version), "changed",
                                          version, False),
                                         (lambda: app.click(controls.experienceChoice),
                                          f"clicked {controls.experienceChoice}", version, True),
                                         (lambda: app.type_into(controls.experienceVersionBox, "<"), "changed",
                                          version + "<", False),
                                         (lambda: app.key("BackSpace"), "changed", version, True)):
            mark = app.mark()
            step()
            box = controls.experienceVersionBox
            state = app.wait_for_state(lambda s: s["event"].startswith(event) and s["edits"][box]["text"] == text,
                                       since=mark, what=f"{event} with {text!r}")
            self.assertEqual(controls.desktopShortcutLink not in state["hidden"], shown, text)
        app.key("Tab")
        app.wait_for_focus("push button", "转 换")
        app.key("Tab")
        app.wait_for_focus("link", "创建桌面快捷方式")
        for act in (lambda: app.key("space"),
                    lambda: app.click(controls.desktopShortcutLink)):  # the second replaces the first
            mark = app.mark()
            act()
            self.assertEqual(app.wait_for_message(since=mark), "提示：已在桌面创建快捷方式：CF体验服 1.2 _b_")
            app.dismiss_message()
        self.assertEqual([p.name for p in self.session.desktop.glob("CF*")], [shortcut.name])

        self.assertEqual(app.close(), 0)  # one copy per folder
        started = self.session.wine("start", "/wait", "/unix", shortcut, timeout=60)
        self.assertEqual(started.returncode, 0, started.stderr)
        self.assertEqual(len(wait_until(game.client_starts, 15, what="the client's start")), 1)
        self.assertEqual({rel: game.read(rel) for rel in expected.SWITCHED_FILES}, expected.experience_files(version))


if __name__ == "__main__":
    unittest.main()
