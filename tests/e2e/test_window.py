"""The main window as a user sees it: where it opens, its surface, its picture buttons,
the loading-picture preview, moving it by its surface, and all of that on screens of
higher DPI."""
import unittest

from harness import SCREEN, E2ETestCase, controls, preview_controls, session, wait_until
from images import block_picture
from surroundings import program_windows

WIDTH, HEIGHT = 847, 490
TILE_W, TILE_H = 323, 165
PREVIEW = (424, 80, 408, 176)  # previewArea in window coordinates
# Controls that are never drawn: their rectangles show the surface.
INVISIBLE = {controls.versionTimer, controls.loadingPicture, controls.musicFileDialog} | {f"编辑框{i}" for i in range(4,
                                                                                                                   14)}
# Captions may run a little past their boxes; keep texture samples clear of them.
MARGIN = 6
PATCH = 6


def is_texture(pixel):
    return max(pixel) <= 40 and max(pixel) - min(pixel) <= 3


def patch(image, x, y):
    return [image.pixel(x + dx, y + dy) for dy in range(PATCH) for dx in range(PATCH)]


def free(app, x, y):
    """Whether the patch at window (x, y), in layout units, lies on the bare surface."""
    if x < 0 or y < 0 or x + PATCH > WIDTH or y + PATCH > HEIGHT:
        return False
    for name, (left, top, width, height) in app.layout.items():
        if name in INVISIBLE or name in app.state["hidden"]:
            continue
        if (x + PATCH > left - MARGIN and x < left + width + MARGIN
                and y + PATCH > top - MARGIN and y < top + height + MARGIN):
            return False
    return True


def reddish(pixel):
    r, g, b = pixel
    return r > 100 and r > 2 * g and r > 2 * b


class MainWindowTest(E2ETestCase):

    def test_opens_centred_at_its_size(self):
        app = self.start()
        expected = [(SCREEN[0] - WIDTH) // 2, (SCREEN[1] - HEIGHT) // 2, WIDTH, HEIGHT]
        window = app.x_window()
        self.assertEqual(window["rect"], expected)
        self.assertTrue(window["viewable"])
        self.assertEqual(app.state["window"], expected)
        self.assertFalse(app.state["minimised"])

    def test_surface_is_the_tiled_carbon_texture(self):
        app = self.start()
        image = app.window_screenshot()
        for dx, dy in ((TILE_W, 0), (2 * TILE_W, 0), (0, TILE_H), (0, 2 * TILE_H)):
            spots = [(x, y) for y in range(0, HEIGHT, 7) for x in range(0, WIDTH, 11)
                     if free(app, x, y) and free(app, x + dx, y + dy)]
            self.assertTrue(spots, f"no bare surface {dx, dy} apart")
            for x, y in spots[::max(1, len(spots) // 6)]:
                here = patch(image, x, y)
                self.assertTrue(all(is_texture(p) for p in here), f"not the dark texture at {x, y}: {here}")
                self.assertTrue(min(map(min, here)) <= 16 and max(map(max, here)) >= 27,
                                f"no light/dark checker at {x, y}: {here}")
                self.assertEqual(here, patch(image, x + dx, y + dy),
                                 f"the texture at {x, y} does not repeat at {x + dx, y + dy}")

    def test_picture_buttons_show_their_plates_and_light_up_under_the_pointer(self):
        app = self.start()
        away = (100, 378)
        self.assertTrue(free(app, *away))
        for name in (controls.switchButton, controls.startGameButton, controls.officialSiteButton,
                     controls.minimiseButton):
            left, top, width, _ = app.layout[name]
            rim = (left + width // 2, top)
            inside = (left + width // 2, top + 5)
            app.move_to(*app.window_point(*away))
            image = app.wait_for_screen(lambda im: im.pixel(*rim)[0] > 100,
                                        what=f"the red-brown rim of {name}")
            self.assertTrue(reddish(image.pixel(*rim)), f"{name}'s rim is not reddish: {image.pixel(*rim)}")
            self.assertFalse(is_texture(image.pixel(*inside)), f"{name} shows no plate")

            app.hover(name)
            image = app.wait_for_screen(lambda im: im.pixel(*rim)[1] > 100,
                                        what=f"the green rim of {name} under the pointer")
            r, g, b = image.pixel(*rim)
            self.assertTrue(g > 2 * r and g > 2 * b, f"{name}'s hover rim is not green: {(r, g, b)}")

    def test_preview_shows_the_top_left_of_the_loading_picture(self):
        colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255),
                   (255, 255, 255), (128, 64, 0), (0, 128, 64)]
        png, colour_at = block_picture(600, 300, 16, colours)
        app = self.start(self.make_game(picture=png))
        left, top, width, height = PREVIEW
        image = app.window_screenshot()
        for x, y in ((0, 0), (15, 15), (16, 0), (0, 16), (17, 33), (200, 100), (width - 1, 0), (0, height - 1),
                     (width - 1, height - 1), (391, 160)):
            self.assertEqual(image.pixel(left + x, top + y), colour_at(x, y),
                             f"picture pixel ({x}, {y})")
        picture = set(colours)
        for x, y in ((left - 1, top), (left + width, top + 10), (left + 10, top + height)):
            self.assertNotIn(image.pixel(x, y), picture, f"the picture spills out at ({x}, {y})")

    def test_without_the_launcher_folder_the_window_opens_with_a_blank_preview(self):
        app = self.start(self.make_game(tcls=False))
        self.assertTrue(app.x_window()["viewable"])
        left, top, width, height = PREVIEW
        image = app.window_screenshot()
        seen = {image.pixel(left + x, top + y) for y in range(0, height, 5) for x in range(0, width, 5)}
        self.assertEqual(len(seen), 1, f"the preview is not blank: {sorted(seen)[:8]}")
        self.assertLess(max(seen.pop()), 60, "the blank preview is not dark")
        self.assertEqual(app.messages(), [])
        self.assertEqual(app.state["labels"][controls.launcherStateLabel], "当前客户端：未找到启动器（TCLS），请把本程序放在CF游戏根目录下")

    def test_dragging_the_surface_moves_the_window(self):
        app = self.start()
        grab = (100, 378)
        self.assertTrue(free(app, *grab))
        before = app.x_window()["rect"]
        app.drag(app.window_point(*grab), 40, 30)
        moved = [before[0] + 40, before[1] + 30, WIDTH, HEIGHT]
        wait_until(lambda: app.x_window()["rect"] == moved, 5, what=f"window moved to {moved}")
        mark = app.click(controls.liveChoice)
        self.assertEqual(app.wait_for_event(f"clicked {controls.liveChoice}", since=mark)["window"], moved)


class HighDpiTest(E2ETestCase):
    """The same window on screens at 150 % and 200 %, with the display's DPI set as Windows
    users set it: scaled as a whole, pictures and captions included."""

    def test_window_surface_plates_radio_captions_and_preview_scale_with_the_dpi(self):
        colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255)]
        picture, colour_at = block_picture(1400, 900, 40, colours)
        cases = [  # DPI, screen, the window's size in device pixels (within one)
            (144, (1920, 1200), (1270, 735)),
            (192, (2560, 1600), (1694, 980)),
        ]
        for dpi, screen, size in cases:
            with self.subTest(dpi=dpi):
                self.session = s = session(dpi, screen)
                app = self.start(self.make_game(f"game{dpi}", picture=picture), logs=f"dpi{dpi}")
                left, top, width, height = app.x_window()["rect"]
                centred = ((screen[0] - width) // 2, (screen[1] - height) // 2)
                for got, expected in zip((width, height, left, top), size + centred):
                    self.assertLessEqual(abs(got - expected), 1, f"the window is at {[left, top, width, height]}")
                self.assertEqual(app.state["window"][2:], [WIDTH, HEIGHT], "the program keeps layout units")

                image = app.window_screenshot()
                tile = s.px(TILE_W)
                spots = [(x, y) for y in range(0, HEIGHT, 7) for x in range(0, WIDTH, 11)
                         if free(app, x, y) and free(app, x + TILE_W, y)]
                for x, y in spots[::max(1, len(spots) // 6)]:
                    here = patch(image, s.px(x), s.px(y))
                    self.assertTrue(all(is_texture(p) for p in here), f"not the texture at {x, y}: {here}")
                    self.assertEqual(here, patch(image, s.px(x) + tile, s.px(y)),
                                     f"no repeat {tile} px right of {x, y}")

                left, top, width, _ = app.layout[controls.switchButton]
                rim = (s.px(left + width // 2), s.px(top))
                self.assertTrue(reddish(image.pixel(*rim)), f"no plate rim at {rim}: {image.pixel(*rim)}")
                app.hover(controls.switchButton)
                app.wait_for_screen(lambda im: im.pixel(*rim)[1] > 2 * im.pixel(*rim)[0], what="the hover plate")

                for name in (controls.liveChoice, controls.experienceChoice):
                    left, top, width, height = app.layout[name]
                    right = s.px(left + width)
                    ink = [x for x in range(s.px(left + 17), right) for y in range(s.px(top), s.px(top + height))
                           if reddish(image.pixel(x, y))]
                    self.assertTrue(ink, f"{name} shows no caption")
                    self.assertLess(max(ink), right - 1, f"{name}'s caption is cut at its edge")
                    self.assertGreater(max(ink) - min(ink), 7.5 * s.px(12), f"{name}'s caption lacks characters")

                mark = app.click(controls.fullScreenButton)
                state = app.wait_for_state(lambda st: "preview" in st, since=mark, what="the preview window")
                self.assertEqual(state["preview"][:2], [0, 0])
                whole = [0, 0, *screen]
                wait_until(lambda: whole in program_windows(s).values(), 10, what=f"a preview window of {whole}")
                spots = [(20, 20), (620, 420), (1260, 780)]  # block centres, the last at the screen's far corner
                wait_until(lambda: all((shot := s.screenshot()).pixel(s.px(x), s.px(y)) == colour_at(x, y)
                                       for x, y in spots), 5, what="the picture at its size times the scale")
                mark = app.click(preview_controls.closeButton, preview=True)
                app.wait_for_state(lambda st: "preview" not in st, since=mark, what="the preview closed")
                self.assertEqual(app.close(), 0)


if __name__ == "__main__":
    unittest.main()
