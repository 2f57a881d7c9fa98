#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "fake_platform.h"
#include "program/app.h"
#include "program/controls.h"
#include "ui/hit_test.h"
#include "ui/painter.h"
#include "ui/resample.h"
#include "ui/skin_pictures.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

// The skin pictures, read from the committed BMP files (the 2x set from assets/2x).
std::optional<Bitmap> assetPicture(std::string_view name, int factor) {
    std::string folder = std::string(VORLANE_ASSETS_DIR) + (factor == 2 ? "/2x/" : "/");
    std::ifstream in(folder + std::string(name) + ".bmp", std::ios::binary);
    return decodeBmp(Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

// Pictures made up by a test, the same at every scale.
class MadePictures final : public PictureSource {
public:
    std::map<std::string, Bitmap, std::less<>> pictures;
    const Bitmap* picture(std::string_view name, Scale) const override {
        auto it = pictures.find(name);
        return it == pictures.end() ? nullptr : &it->second;
    }
};

// Test pictures are raw: the first byte says "raw", then width, height, pixels. Only the
// part asked for comes back, as from the system's decoder.
class RawDecoder final : public ImageDecoder {
public:
    std::optional<Bitmap> decode(const Bytes& file, const Rect& part) const override {
        if (file.size() < 3 || file[0] != 'R') return std::nullopt;
        Bitmap b{file[1], file[2], {}};
        for (std::size_t i = 3; i + 2 < file.size(); i += 3) {
            b.pixels.push_back((std::uint32_t{file[i]} << 16) | (file[i + 1] << 8) | file[i + 2]);
        }
        if (b.pixels.size() != static_cast<std::size_t>(b.width * b.height)) return std::nullopt;
        const Rect shown = intersect(part, {0, 0, b.width, b.height});
        Bitmap out{shown.width, shown.height, {}};
        for (int y = shown.top; y < shown.bottom(); ++y) {
            for (int x = shown.left; x < shown.right(); ++x) out.pixels.push_back(b.at(x, y));
        }
        return out;
    }
};
const RawDecoder kRaw;

struct Surface {
    explicit Surface(int w, int h) : width(w), pixels(static_cast<std::size_t>(w) * h, 0xABCDEF), canvas(pixels.data(),
                                                                                                         w, h) {}
    int width;
    std::vector<std::uint32_t> pixels;
    PixelCanvas canvas;
    Rgb at(int x, int y) const { return unpackRgb(pixels[static_cast<std::size_t>(y) * width + x]); }
};

// A window of one graphic button, over a plain colour or a tiled background picture.
struct ButtonWindow {
    ButtonWindow(const char* picture, Rect at, int width, int height, Rgb back, const char* background = nullptr)
        : row{.name = "b", .kind = ControlKind::GraphicButton, .left = at.left, .top = at.top, .width = at.width,
              .height = at.height, .pictures = {.normal = picture}},
          spec{.name = "w", .title = "", .width = width, .height = height, .background = background,
               .backColour = back, .controls = {&row, 1}} {}
    ControlSpec row;
    WindowSpec spec;
    testing::FakePlatform fake;
    App app{fake};
    Window window{spec, app};
};

Bitmap solid(int w, int h, Rgb c) { return {w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h,
                                                                             packRgb(c))}; }

TEST(Painter, SkipsExactlyTheTransparentColourAndNothingNearIt) {
    ShownPictures shown{kRaw};
    MadePictures pics;
    pics.pictures["key"] = {3, 1, {packRgb({160, 160, 160}), packRgb({161, 160, 160}), packRgb({160, 160, 159})}};
    ButtonWindow w("key", {1, 1, 3, 1}, 5, 3, {1, 2, 3});
    Surface s(5, 3);
    paintWindow(w.window, s.canvas, pics, shown);
    EXPECT_EQ(s.at(1, 1), (Rgb{1, 2, 3}));
    EXPECT_EQ(s.at(2, 1), (Rgb{161, 160, 160}));
    EXPECT_EQ(s.at(3, 1), (Rgb{160, 160, 159}));
}

TEST(Painter, TilesTheBackgroundTextureFromTheTopLeft) {
    ShownPictures shown{kRaw};
    SkinPictures pics(assetPicture);
    const Bitmap* texture = pics.picture("background", Scale{});
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(texture->width, 323);
    ASSERT_EQ(texture->height, 165);
    const WindowSpec spec{.name = "w", .title = "", .width = 847, .height = 490, .background = "background",
                          .controls = {}};
    testing::FakePlatform fake;
    App app(fake);
    Window window(spec, app);
    Surface s(847, 490);
    paintWindow(window, s.canvas, pics, shown);
    for (int y : {0, 7, 164, 165, 166, 329, 330, 489}) {
        for (int x : {0, 5, 322, 323, 324, 645, 646, 846}) {
            EXPECT_EQ(s.at(x, y), unpackRgb(texture->at(x % 323, y % 165))) << x << "," << y;
        }
    }
}

TEST(Painter, AtTwiceTheScaleTilesAndDrawsTheDoubleSizePicturesWithTheirKey) {
    ShownPictures shown{kRaw};
    SkinPictures pics(assetPicture);
    const Bitmap* texture = pics.picture("background", Scale{192});
    const Bitmap* plate = pics.picture("plate_convert_normal", Scale{192});
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(plate, nullptr);
    ASSERT_EQ(texture->width, 646);
    ASSERT_EQ(texture->height, 330);
    ButtonWindow w("plate_convert_normal", {256, 216, 128, 32}, 847, 490, {}, "background");
    Surface s(1694, 980);
    // The host repaints only what changed: nothing outside the clip is touched.
    s.canvas.setClip({0, 0, 600, 980});
    paintWindow(w.window, s.canvas, pics, shown, {}, Scale{192});
    EXPECT_EQ(packRgb(s.at(600, 10)), 0xABCDEFu);
    s.canvas.setClip({0, 0, 1694, 980});
    paintWindow(w.window, s.canvas, pics, shown, {}, Scale{192});
    for (int y : {0, 329, 330, 331, 659, 660, 979}) {
        for (int x : {0, 645, 646, 647, 1291, 1292, 1693}) {
            EXPECT_EQ(s.at(x, y), unpackRgb(texture->at(x % 646, y % 330))) << x << "," << y;
        }
    }
    int keyed = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) {
            std::uint32_t p = plate->at(x, y);
            bool key = p == packRgb(kTransparentKey);
            keyed += key;
            EXPECT_EQ(s.at(512 + x, 432 + y), unpackRgb(key ? texture->at((512 + x) % 646, (432 + y) % 330) : p))
                << x << "," << y;
        }
    }
    EXPECT_GT(keyed, 0) << "the slanted ends show the surface";
}

TEST(Painter, BetweenTheSetsShowsNoKeyColourAndKeepsThePlateWhole) {
    ShownPictures shown{kRaw};
    SkinPictures pics(assetPicture);
    ButtonWindow w("plate_to_bgm_normal", {4, 4, 128, 32}, 140, 40, {0, 0, 255});
    for (int dpi : {120, 144, 168, 216, 288}) {
        Scale scale(dpi);
        Surface s(scale.px(140), scale.px(40));
        paintWindow(w.window, s.canvas, pics, shown, {}, scale);
        int plate = 0;
        for (int y = 0; y < scale.px(40); ++y) {
            for (int x = 0; x < scale.px(140); ++x) {
                Rgb p = s.at(x, y);
                ASSERT_NE(p, kTransparentKey) << dpi << " dpi at " << x << "," << y;
                // The plate's colours hold little blue; key grey blended into its edge would add some.
                if (p == Rgb{0, 0, 255}) continue;
                ++plate;
                EXPECT_LE(p.b, 70) << dpi << " dpi: key fringe at " << x << "," << y;
            }
        }
        // The plate is 128 x 32 units less its slanted corners.
        double area = 120.0 * 32 * scale.factor() * scale.factor();
        EXPECT_NEAR(plate, area, area * 0.03) << dpi << " dpi";
    }
}

TEST(Resample, AveragesTheAreaAndKeepsTheKeyApartFromTheColours) {
    const std::uint32_t key = packRgb(kTransparentKey), red = packRgb({200, 0, 0});
    const std::uint32_t dark = packRgb({150, 150, 150}), light = packRgb({170, 170, 170});
    struct Case {
        const char* what;
        Bitmap source;
        int width, height;
        bool keyed;
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"halved", {4, 1, {0x000000, 0x0000C8, 0xC80000, 0xC80000}}, 2, 1, false, {0x000064, 0xC80000}},
        {"doubled", {2, 1, {0x010203, 0x0A0B0C}}, 4, 1, false, {0x010203, 0x010203, 0x0A0B0C, 0x0A0B0C}},
        // Key pixels lend no colour: the edge of a plate keeps the plate's colour.
        {"half key", {4, 1, {key, red, red, red}}, 2, 1, true, {red, red}},
        {"mostly key", {4, 1, {key, key, key, red}}, 2, 1, true, {key, red}},
        {"three quarters", {4, 1, {key, key, red, red}}, 3, 1, true, {key, red, red}},
        // A mean that lands on the key is moved off it, or it would vanish.
        {"mean is the key", {2, 2, {dark, light, light, dark}}, 1, 1, true, {packRgb({161, 160, 160})}},
    };
    for (const Case& c : cases) {
        Bitmap out = resample(c.source, c.width, c.height, c.keyed ? &kTransparentKey : nullptr);
        EXPECT_EQ(out.pixels, c.expected) << c.what;
    }
    // A part of the result is the same as that part of the whole.
    Bitmap whole = resample(cases[0].source, 3, 2), part = resample(cases[0].source, 3, 2, {1, 1, 2, 1});
    EXPECT_EQ(part.pixels, (std::vector<std::uint32_t>{whole.at(1, 1), whole.at(2, 1)}));
}

TEST(Painter, DrawsRadioButtonsInTheSkinAtEveryScale) {
    ShownPictures shown{kRaw};
    const Rgb back{20, 20, 20}, mark{216, 54, 7};
    const ControlSpec rows[] = {{.name = "r", .kind = ControlKind::RadioButton, .left = 16, .top = 40, .width = 120,
                                 .height = 24, .text = "体验服转换到正服", .textColour = mark}};
    const WindowSpec spec{.name = "w", .title = "", .width = 150, .height = 70, .backColour = back, .controls = rows};
    testing::FakePlatform fake;
    App app(fake);
    Window window(spec, app);
    for (int dpi : {96, 144, 192}) {
        for (bool checked : {false, true}) {
            Scale scale(dpi);
            window.control("r").setChecked(checked);
            Surface s(scale.px(150), scale.px(70));
            paintWindow(window, s.canvas, MadePictures{}, shown, {}, scale);
            const double f = scale.factor(), cx = scale.px(16) + 6.5 * f, cy = scale.px(40) + scale.px(24) / 2.0;
            auto at = [&](double x, double y) { return s.at(static_cast<int>(x), static_cast<int>(y)); };
            EXPECT_EQ(at(cx - 5.25 * f, cy), mark) << dpi << " dpi: the ring";
            EXPECT_EQ(at(cx + 5.25 * f, cy), mark) << dpi << " dpi: the ring";
            EXPECT_EQ(at(cx, cy), checked ? mark : back) << dpi << " dpi: the centre";
            EXPECT_EQ(at(cx, cy + 3.75 * f), back) << dpi << " dpi: between dot and ring";
        }
    }
}

// The ring changes nothing outside the focused control. On a plate it is the hover plate
// with its outermost pixels light, so it follows the slanted edge; on a link or a radio
// button, the edge of its box.
TEST(Painter, FocusRingTracesThePlateOrTheBoxOfTheFocusedControlOnly) {
    ShownPictures shown{kRaw};
    SkinPictures pics(assetPicture);
    testing::FakePlatform fake;
    App app(fake);
    for (int dpi : {96, 144, 192}) {
        const Scale scale(dpi);
        const int w = scale.px(1);
        for (const char* name : {switchButton, chooseMusicLink, liveChoice}) {
            const Control& c = app.main.control(name);
            const Rect r = scale.rect(c.windowRect());
            auto paint = [&](const Control* focused) {
                auto s = std::make_unique<Surface>(scale.px(847), scale.px(490));
                s->canvas.setClip({r.left - 8, r.top - 8, r.width + 16, r.height + 16});
                paintWindow(app.main, s->canvas, pics, shown, {.focused = focused}, scale);
                return s;
            };
            const auto plain = paint(nullptr), ringed = paint(&c);
            for (int y = r.top - 8; y < r.bottom() + 8; ++y) {
                for (int x = r.left - 8; x < r.right() + 8; ++x) {
                    if (!r.contains(x, y)) {
                        ASSERT_EQ(ringed->at(x, y), plain->at(x, y)) << dpi << " dpi, " << name << " at " << x;
                    }
                }
            }
            const int middle = r.left + r.width / 2;
            EXPECT_EQ(ringed->at(middle, r.top + w - 1), kFocusRing) << dpi << " dpi, " << name;
            EXPECT_NE(ringed->at(middle, r.top + w), kFocusRing) << dpi << " dpi, " << name << ": thin";
            if (c.kind() != ControlKind::GraphicButton) {
                EXPECT_EQ(ringed->at(r.left, r.top + r.height / 2), kFocusRing) << dpi << " dpi, " << name;
                continue;
            }
            const Bitmap* hover = pics.picture(c.spec().pictures.hover, scale);
            EXPECT_EQ(ringed->at(middle, r.top + w), unpackRgb(hover->at(r.width / 2, w))) << dpi << " dpi: hover";
            EXPECT_EQ(ringed->at(r.left, r.top), plain->at(r.left, r.top)) << dpi << " dpi: the corner off the slant";
        }
    }
}

TEST(Painter, ClipsChildrenToTheirPictureBoxAndStacksEarlierRowsOnTop) {
    ShownPictures shown{kRaw};
    MadePictures pics;
    pics.pictures["red"] = solid(10, 10, {200, 0, 0});
    const ControlSpec rows[] = {
        {.name = "edit", .kind = ControlKind::EditBox, .left = 2, .top = 2, .width = 3, .height = 3,
         .backColour = Rgb{0, 0, 200}},
        {.name = "child", .kind = ControlKind::GraphicButton, .left = 4, .top = 0, .width = 10, .height = 10,
         .parent = "box", .pictures = {.normal = "red"}},
        {.name = "box", .kind = ControlKind::PictureBox, .left = 10, .top = 0, .width = 6, .height = 6,
         .backColour = Rgb{0, 200, 0}},
        {.name = "frame", .kind = ControlKind::GraphicButton, .left = 0, .top = 0, .width = 8, .height = 8,
         .pictures = {.normal = "red"}},
    };
    const WindowSpec spec{.name = "w", .title = "", .width = 20, .height = 10, .backColour = Rgb{9, 9, 9},
                          .controls = rows};
    testing::FakePlatform fake;
    App app(fake);
    Window window(spec, app);
    Surface s(20, 10);
    paintWindow(window, s.canvas, pics, shown);
    EXPECT_EQ(s.at(3, 3), (Rgb{0, 0, 200})) << "the edit box lies above its frame";
    EXPECT_EQ(s.at(6, 6), (Rgb{200, 0, 0}));
    EXPECT_EQ(s.at(12, 2), (Rgb{0, 200, 0}));
    EXPECT_EQ(s.at(15, 5), (Rgb{200, 0, 0})) << "child inside its box";
    EXPECT_EQ(s.at(17, 2), (Rgb{9, 9, 9})) << "child clipped at the box's right edge";
    EXPECT_EQ(s.at(15, 7), (Rgb{9, 9, 9})) << "child clipped at the box's bottom edge";
}

TEST(Painter, ShowsAnAnimationObjectAtItsPlaceKeepingOnlyWhatItsBoxShows) {
    ShownPictures shown{kRaw};
    const ControlSpec rows[] = {
        {.name = "obj", .kind = ControlKind::AnimationObject, .left = 3, .top = 3, .width = 9, .height = 9,
         .visible = false},
        {.name = "anim", .kind = ControlKind::AnimationBox, .left = 1, .top = 1, .width = 4, .height = 3,
         .backColour = Rgb{5, 5, 5}},
    };
    const WindowSpec spec{.name = "w", .title = "", .width = 8, .height = 6, .backColour = Rgb{9, 9, 9},
                          .controls = rows};
    testing::FakePlatform fake;
    App app(fake);
    Window window(spec, app);
    Control& obj = window.control("obj");
    window.control("anim").place(obj, 0, 0);
    // A 6 x 1 picture: wider than the box, so its right part is cut off, and not kept.
    obj.setPictureBytes({'R', 6, 1, 10, 0, 0, 20, 0, 0, 30, 0, 0, 40, 0, 0, 50, 0, 0, 60, 0, 0});
    for (int f : {1, 2}) {
        Surface s(8 * f, 6 * f);
        paintWindow(window, s.canvas, MadePictures{}, shown, {}, Scale(96 * f));
        EXPECT_EQ(s.at(f, f), (Rgb{10, 0, 0})) << f;
        EXPECT_EQ(s.at(5 * f - 1, 2 * f - 1), (Rgb{40, 0, 0})) << f;
        EXPECT_EQ(s.at(5 * f, f), (Rgb{9, 9, 9})) << f;
        EXPECT_EQ(s.at(f, 2 * f), (Rgb{5, 5, 5})) << f;
        const Bitmap& kept = *shown.kept(obj)->pixels;
        EXPECT_EQ(kept.width * kept.height, 4 * f * f) << "the part in the box, at the scale";
    }

    obj.setPictureBytes({'?', 1, 2});
    Surface bad(8, 6);
    paintWindow(window, bad.canvas, MadePictures{}, shown);
    EXPECT_EQ(bad.at(1, 1), (Rgb{5, 5, 5}));
}

// The host paints a band at a time into a buffer that holds only that band (and, for a
// partial repaint, starts right of the window's edge): each band must be exactly that part
// of the whole window's picture.
TEST(Painter, PaintedABandAtATimeTheWindowIsTheSameAsPaintedWhole) {
    ShownPictures shown{kRaw};
    SkinPictures pics(assetPicture);
    testing::FakePlatform fake;
    App app(fake);
    Control& picture = app.main.control(loadingPicture);
    Bytes raw{'R', 200, 90};
    for (int i = 0; i < 200 * 90; ++i) raw.insert(raw.end(), {std::uint8_t(i), std::uint8_t(i >> 8), 7});
    picture.setPictureBytes(raw);
    app.main.control(previewBox).place(picture, 0, 0);
    for (int dpi : {96, 144}) {
        const Scale scale(dpi);
        const int w = scale.px(847), h = scale.px(490), left = 37, band = 64;
        Surface whole(w, h);
        paintWindow(app.main, whole.canvas, pics, shown, {}, scale);
        std::vector<std::uint32_t> buffer(static_cast<std::size_t>(w - left) * band);
        for (int top = 0; top < h; top += band) {
            PixelCanvas part(buffer.data(), w - left, band, nullptr, left, top);
            paintWindow(app.main, part, pics, shown, {}, scale);
            for (int y = top; y < std::min(h, top + band); ++y) {
                for (int x = left; x < w; ++x) {
                    ASSERT_EQ(part.at(x, y), whole.canvas.at(x, y)) << dpi << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST(ButtonPictures, FollowHoverPressAndTheToggleState) {
    testing::FakePlatform fake;
    App app(fake);
    Control& play = app.main.control(playMusicToggle);
    Control& convert = app.main.control(switchButton);
    EXPECT_STREQ(buttonPictureName(convert, {}), "plate_convert_normal");
    EXPECT_STREQ(buttonPictureName(convert, {.hovered = &convert}), "plate_convert_hover");
    EXPECT_STREQ(buttonPictureName(convert, {.pressed = &convert}), "plate_convert_hover");
    EXPECT_STREQ(buttonPictureName(play, {.hovered = &play}), "plate_play_normal");
    app.main.fire(play, Event::Clicked);
    EXPECT_STREQ(buttonPictureName(play, {}), "plate_stop_checked");
    app.main.fire(play, Event::Clicked);
    EXPECT_STREQ(buttonPictureName(play, {}), "plate_play_normal");
}

TEST(MainWindowPicture, EveryPictureTheLayoutNamesExistsAtItsSizeTimesTheScale) {
    SkinPictures pics(assetPicture);
    testing::FakePlatform fake;
    App app(fake);
    for (int dpi : {96, 120, 144, 192, 240}) {
        Scale scale(dpi);
        for (const Control& c : app.main.controls()) {
            const ButtonPictures& p = c.spec().pictures;
            for (const char* name : {p.normal, p.hover, p.pressed, p.disabled, c.spec().picture}) {
                if (!name) continue;
                const Bitmap* bmp = pics.picture(name, scale);
                ASSERT_NE(bmp, nullptr) << name;
                bool plate = c.kind() == ControlKind::GraphicButton && c.bounds().width == 128;
                EXPECT_EQ(bmp->width, scale.px(plate ? 131 : 376)) << name << " at " << dpi;
                EXPECT_EQ(bmp->height, scale.px(plate ? 34 : 32)) << name << " at " << dpi;
            }
        }
    }
    // At 200 % the pictures are the ones drawn at twice the size, not enlarged.
    EXPECT_EQ(pics.picture("plate_convert_normal", Scale{192})->pixels, assetPicture("plate_convert_normal",
                                                                                     2)->pixels);
}

}  // namespace
}  // namespace vorlane
