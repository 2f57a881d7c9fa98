"""The window without a mouse: every action by keyboard alone, and what a screen reader
reads (through oleacc, as screen readers do), including the play toggle when the music
ends by itself."""
import unittest

from harness import E2ETestCase, controls
from surroundings import tone_mp3
import expected_files as expected

EXPERIENCE_DONE = "本程序为您成功切换成CF体验服，即可进入游戏."
RING = (255, 226, 150)
# Every stop of the main window in Tab order, as a screen reader names it.
STOPS = [
    ("radio button", "体验服转换到正服"),
    ("text", "（正服）当前版本"),
    ("text", "（体验服）当前版本"),
    ("push button", "转 换"),
    ("text", "mp3音乐"),
    ("link", "点击这里打开目录"),
    ("push button", "转换为背景音乐"),
    ("push button", "还 原"),
    ("check button", "播 放"),
    ("push button", "打开CF"),
    ("push button", "官方网站"),
    ("push button", "全屏查看最新版本图片"),
    ("push button", "最小化"),
    ("push button", "关 闭"),
]


class KeyboardTest(E2ETestCase):

    def test_a_server_is_switched_with_the_keyboard_alone(self):
        game = self.make_game()
        app = self.start(game)
        app.wait_for_focus(*STOPS[0])
        mark = app.mark()
        app.key("Down")
        state = app.wait_for_event(f"clicked {controls.experienceChoice}", since=mark)
        self.assertEqual(state["checked"], {controls.liveChoice: False, controls.experienceChoice: True,
                                            controls.playMusicToggle: False})
        app.key("Tab")  # liveVersionBox is disabled for the experience server
        app.wait_for_focus("text", "（体验服）当前版本")
        app.s.xdotool("type", "--delay", "30", "--", "1.0.12.345")
        mark = app.mark()
        app.key("Return")
        self.assertEqual(app.wait_for_message(since=mark), EXPERIENCE_DONE)
        for rel, data in expected.experience_files("1.0.12.345").items():
            self.assertEqual(game.read(rel), data, rel)
        app.dismiss_message()
        state = app.wait_for_event(f"clicked {controls.switchButton}", since=mark)
        self.assertEqual(state["labels"][controls.launcherStateLabel], "当前客户端：体验服 1.0.12.345")
        app.wait_for_focus("text", "（体验服）当前版本")

    def test_tab_goes_round_in_task_order_enter_and_esc_open_and_close_the_preview_and_alt_f4_ends(self):
        app = self.start()
        app.wait_for_focus(*STOPS[0])
        left, top, width, _ = app.layout[controls.switchButton]
        self.assertNotEqual(app.window_screenshot().pixel(left + width // 2, top), RING)
        for stop in STOPS[1:] + STOPS[:1]:
            app.key("Tab")
            app.wait_for_focus(*stop)
            if stop[1] == "转 换":
                app.wait_for_screen(lambda im: im.pixel(left + width // 2, top) == RING, what="the focus ring on 转 换")
        for stop in reversed(STOPS):
            app.key("shift+Tab")
            app.wait_for_focus(*stop)
        for _ in range(3):  # from the radio group back to 全屏查看最新版本图片
            app.key("shift+Tab")
        app.wait_for_focus(*STOPS[-3])
        mark = app.mark()
        app.key("Return")
        app.wait_for_state(lambda s: "preview" in s, since=mark, what="the preview window")
        app.wait_for_focus("push button", "关闭全屏查看", title="")
        app.key("Escape")
        app.wait_for_state(lambda s: "preview" not in s, since=mark, what="the preview closed")
        app.wait_for_focus(*STOPS[-3])
        app.key("alt+F4")
        self.assertEqual(app.proc.wait(15), 0)

    def test_a_screen_reader_reads_every_control_and_the_toggle_follows_music_that_ends(self):
        app = self.start(self.make_game(music=tone_mp3(self.workdir / "tone.mp3", 1, 440)))
        tree = app.accessible("tree")
        self.assertEqual((tree[0]["role"], tree[0]["depth"]), ("client", 0))
        # The links after 转 换 are there too, hidden until there is a backup to restore or a
        # server and its version are chosen.
        links = [("link", "恢复游戏原来的启动器文件"), ("link", "创建桌面快捷方式")]
        expected = STOPS[:1] + [("radio button", "正服转换到体验服")] + STOPS[1:4] + links + STOPS[4:]
        self.assertEqual([(node["role"], node["name"]) for node in tree[1:]], expected)
        states = [["focused", "focusable"]] + [["focusable"]] * 16
        states[5] = states[6] = ["invisible", "focusable"]
        self.assertEqual([node["states"] for node in tree[1:]], states)

        for _ in range(6):  # back from the radio group to 播 放
            app.key("shift+Tab")
        app.wait_for_focus("check button", "播 放")
        mark = app.mark()
        app.key("space")
        self.assertTrue(app.wait_for_event(f"clicked {controls.playMusicToggle}",
                                           since=mark)["checked"][controls.playMusicToggle])
        self.assertIn("checked", app.wait_for_focus("check button", "停 止")["states"])
        state = app.wait_for_event(f"music ended {controls.playMusicToggle}", since=mark, timeout=15)
        self.assertFalse(state["checked"][controls.playMusicToggle])
        self.assertNotIn("checked", app.wait_for_focus("check button", "播 放")["states"])


if __name__ == "__main__":
    unittest.main()
