"""What the program shows and opens from the web, and its own window buttons, as a user sees them."""
import re
import unittest

from harness import E2ETestCase, GameFolder, Vorlane, controls, wait_until
from surroundings import OFFICIAL, PORTAL, SITE, program_windows, serve_site, take_site_down, tone_mp3, x_geometry

UPDATE_NOTICE = "请下载最新版补丁！网站：" + SITE
NO_CHOICE = "提示：请先选中项目！"
IP_LABEL = re.compile(r"^IP：(\d{1,3}(\.\d{1,3}){3})?$")
# The start-up asks for the maker's page, the timer's first tick for both pages.
PAGES_ASKED = ["/", "/", "/web201105/download.shtml"]


def stopped(state):
    return state["event"] == f"tick {controls.versionTimer}" and state["interval"] == 0


def all_pages_asked(test):
    web = test.session.web
    wait_until(lambda: sorted(web.requests) == PAGES_ASKED, 10, what=f"requests for {PAGES_ASKED}")


class VersionLabelsTest(E2ETestCase):

    def test_start_opens_the_portal_and_the_timer_shows_the_served_versions(self):
        cases = [
            # maker's page encoding, live version served, as finally shown, experience version
            ("gbk", "2.0.1", "0.2.0.1", "3.1"),
            ("utf-8", "1.0.9.310", "1.0.9.310", "2.0.12"),
        ]
        for encoding, live, shown, experience in cases:
            with self.subTest(encoding=encoding, live=live):
                # Each case is a run of its own: the previous program and pages go first.
                self.doCleanups()
                self.session.web.reset()
                serve_site(self, live_version=live, release="1.0", test_version=experience,
                           maker_encoding=encoding)
                run = self.workdir / encoding
                app = Vorlane(self.session, GameFolder(run / "game", self.session), run)
                self.addCleanup(app.stop)
                app.start()
                first = app.wait_for_event(f"fetched {controls.versionTimer}")
                self.assertEqual(first["labels"][controls.liveNewestVersionLabel], live)
                self.assertEqual(first["labels"][controls.experienceNewestVersionLabel], experience)
                self.assertEqual(first["interval"], 100)

                labels = app.wait_for_state(stopped, what="the timer stopping")["labels"]
                self.assertEqual(labels[controls.liveNewestVersionLabel], shown)
                self.assertEqual(labels[controls.experienceNewestVersionLabel], experience)
                self.assertEqual(labels[controls.newestReleaseLabel], "1.0")
                self.assertRegex(labels[controls.ipAddressLabel], IP_LABEL)
                self.assertEqual(app.messages(), [])
                self.assertEqual(wait_until(app.opened_urls, 10, what="the portal page opened"), [PORTAL])
                # The newest release at start and both pages on the first tick; the portal is only opened.
                self.assertEqual(sorted(self.session.web.requests), PAGES_ASKED)

    def test_a_newer_release_shows_the_update_notice_after_the_open_box_then_opens_the_makers_page(self):
        serve_site(self, release="9.9")
        self.session.web.hold()
        app = self.start()
        all_pages_asked(self)
        # The pages come while a box of the user's own is open: the notice waits for it to close.
        mark = app.click(controls.switchButton)
        self.assertEqual(app.wait_for_message(since=mark), NO_CHOICE)
        refused = app.mark()
        self.session.web.release()
        wait_until(lambda: self.session.web.answered == 3, 10, what="all three pages answered")
        app.dismiss_message()
        self.assertEqual(app.wait_for_message(since=refused, timeout=15), UPDATE_NOTICE)
        events = [line.get("event") or line.get("message") for line in app.lines()[mark:]]
        self.assertLess(events.index(f"clicked {controls.switchButton}"), events.index(UPDATE_NOTICE))
        self.assertEqual(app.opened_urls(), [PORTAL])

        app.dismiss_message()
        wait_until(lambda: len(app.opened_urls()) == 2, 10, what="the maker's page opened")
        self.assertEqual(app.opened_urls(), [PORTAL, SITE])
        self.assertEqual(app.wait_for_state(stopped, what="the timer stopping")["labels"][controls.newestReleaseLabel],
                         "9.9")
        self.assertEqual(app.messages(), [NO_CHOICE, UPDATE_NOTICE])

    def test_the_window_answers_at_once_while_every_page_is_held(self):
        serve_site(self, live_version="2.0.1", release="0.9", test_version="3.1")
        self.session.web.hold()
        app = self.start()
        all_pages_asked(self)
        mark = app.click(controls.liveChoice)
        self.assertTrue(app.wait_for_event(f"clicked {controls.liveChoice}",
                                           since=mark)["checked"][controls.liveChoice])
        mark = app.type_into(controls.liveVersionBox, "1.0.9.310")
        typed = app.wait_for_state(lambda s: s["edits"][controls.liveVersionBox]["text"] == "1.0.9.310", since=mark,
                                   what="the typed version in the log")
        at_start = {controls.newestReleaseLabel: "1.0", controls.liveNewestVersionLabel: "0.0.0.0",
                    controls.experienceNewestVersionLabel: "0.0.0.0"}
        self.assertEqual({name: typed["labels"][name] for name in at_start}, at_start)

        self.session.web.release()
        state = app.wait_for_state(stopped, what="the timer stopping")
        self.assertEqual({name: state["labels"][name] for name in at_start},
                         {controls.newestReleaseLabel: "0.9", controls.liveNewestVersionLabel: "0.2.0.1",
                          controls.experienceNewestVersionLabel: "3.1"})
        self.assertEqual(state["edits"][controls.liveVersionBox]["text"], "1.0.9.310")
        self.assertEqual(app.messages(), [])

    def test_without_the_site_the_labels_stay_empty_and_the_window_takes_input(self):
        take_site_down(self)
        app = self.start()
        labels = app.wait_for_state(stopped, what="the timer stopping")["labels"]
        self.assertEqual((labels[controls.newestReleaseLabel], labels[controls.experienceNewestVersionLabel],
                          labels[controls.liveNewestVersionLabel]), ("", "", "0."))
        self.assertRegex(labels[controls.ipAddressLabel], IP_LABEL)
        ready = [line["input_ready_ms"] for line in app.lines() if "input_ready_ms" in line]
        self.assertEqual(len(ready), 1)
        # Fetches are bounded: an unreachable site never holds the window for long.
        self.assertLess(ready[0], 6000)

        mark = app.click(controls.liveChoice)
        self.assertTrue(app.wait_for_event(f"clicked {controls.liveChoice}",
                                           since=mark)["checked"][controls.liveChoice])
        self.assertEqual(app.messages(), [])


class WindowButtonsTest(E2ETestCase):

    def test_official_site_opens_once_per_click(self):
        app = self.start()
        wait_until(app.opened_urls, 10, what="the portal page opened")
        for clicks in (1, 2):
            mark = app.click(controls.officialSiteButton)
            app.wait_for_event(f"clicked {controls.officialSiteButton}", since=mark)
            wait_until(lambda: len(app.opened_urls()) == 1 + clicks, 10, what=f"official site record {clicks}")
        self.assertEqual(app.opened_urls(), [PORTAL, OFFICIAL, OFFICIAL])

    def test_minimise_keeps_the_typed_texts_and_the_system_menu_restores_the_window(self):
        app = self.start()
        typed = {controls.experienceVersionBox: "1.0.12.345", controls.liveVersionBox: "1.0.9.310",
                 controls.musicPathBox: r"D:\music\loading tune.mp3"}
        for box, text in typed.items():
            app.type_into(box, text)
        window = app.x_window()
        mark = app.click(controls.minimiseButton)
        state = app.wait_for_event(f"clicked {controls.minimiseButton}", since=mark)
        self.assertTrue(state["minimised"])
        self.assertEqual({box: state["edits"][box]["text"] for box in typed}, typed)

        def iconic():
            rect = x_geometry(self.session, window["id"])[0]
            return rect if rect and rect[2] < 200 and rect[3] < 50 else None

        # Wine without a window manager shows a minimised window as a small title bar in its place.
        icon = wait_until(iconic, 5, what="the window shrunk to its icon")
        self.assertEqual(icon[:2], window["rect"][:2])

        # No taskbar here: the icon's own system menu (Alt+Space) offers Restore first.
        before = set(program_windows(self.session))
        app.s.xdotool("mousemove", icon[0] + icon[2] // 2, icon[1] + icon[3] // 2, "click", "1")
        app.key("alt+space")
        wait_until(lambda: set(program_windows(self.session)) - before, 5, what="the system menu")
        app.key("Return")
        wait_until(lambda: x_geometry(self.session, window["id"])[0] == window["rect"], 5,
                   what=f"the window restored to {window['rect']}")

        mark = app.click(controls.liveChoice)
        state = app.wait_for_event(f"clicked {controls.liveChoice}", since=mark)
        self.assertFalse(state["minimised"])
        self.assertEqual({box: state["edits"][box]["text"] for box in typed}, typed)

    def test_close_ends_the_program_with_status_0_also_while_music_plays_and_pages_are_held(self):
        game = self.make_game()
        game.write("TCLS/music/sound.mp3", tone_mp3(self.workdir / "tone.mp3", 20, 440))
        serve_site(self)
        self.session.web.hold()
        app = self.start(game)
        all_pages_asked(self)
        mark = app.click(controls.playMusicToggle)
        self.assertTrue(app.wait_for_event(f"clicked {controls.playMusicToggle}",
                                           since=mark)["checked"][controls.playMusicToggle])
        self.assertEqual(app.close(), 0)
        wait_until(lambda: not program_windows(self.session), 10, what="the program's windows gone")


if __name__ == "__main__":
    unittest.main()
