"""The command line that switches (and starts the game) without the window."""
import unittest

from harness import E2ETestCase, changes, wait_until
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


if __name__ == "__main__":
    unittest.main()
