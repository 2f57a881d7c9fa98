#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "app/app.h"
#include "fake_platform.h"
#include "platform/ui/hit_test.h"
#include "platform/ui/painter.h"

namespace vorlane {
namespace {

// The skin pictures, read from the committed BMP files.
class AssetPictures final : public PictureSource {
public:
    const Bitmap* picture(std::string_view name) const override {
        auto it = cache_.find(name);
        if (it == cache_.end()) {
            std::ifstream in(std::string(VORLANE_ASSETS_DIR) + "/" + std::string(name) + ".bmp", std::ios::binary);
            Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            it = cache_.emplace(std::string(name), decodeBmp(bytes)).first;
        }
        return it->second ? &*it->second : nullptr;
    }

private:
    mutable std::map<std::string, std::optional<Bitmap>, std::less<>> cache_;
};

// Pictures made up by a test.
class MadePictures final : public PictureSource {
public:
    std::map<std::string, Bitmap, std::less<>> pictures;
    const Bitmap* picture(std::string_view name) const override {
        auto it = pictures.find(name);
        return it == pictures.end() ? nullptr : &it->second;
    }
};

// Test pictures are raw: the first byte says "raw", then width, height, pixels.
class RawDecoder final : public ImageDecoder {
public:
    std::optional<Bitmap> decode(const Bytes& file) const override {
        if (file.size() < 3 || file[0] != 'R') return std::nullopt;
        Bitmap b{file[1], file[2], {}};
        for (std::size_t i = 3; i + 2 < file.size(); i += 3) {
            b.pixels.push_back((std::uint32_t{file[i]} << 16) | (file[i + 1] << 8) | file[i + 2]);
        }
        if (b.pixels.size() != static_cast<std::size_t>(b.width * b.height)) return std::nullopt;
        return b;
    }
};

struct Surface {
    explicit Surface(int w, int h) : width(w), pixels(static_cast<std::size_t>(w) * h, 0xABCDEF), canvas(pixels.data(), w, h) {}
    int width;
    std::vector<std::uint32_t> pixels;
    PixelCanvas canvas;
    Rgb at(int x, int y) const { return unpackRgb(pixels[static_cast<std::size_t>(y) * width + x]); }
};

Bitmap solid(int w, int h, Rgb c) { return {w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, packRgb(c))}; }

TEST(Painter, SkipsExactlyTheTransparentColourAndNothingNearIt) {
    MadePictures pics;
    pics.pictures["key"] = {3, 1, {packRgb({160, 160, 160}), packRgb({161, 160, 160}), packRgb({160, 160, 159})}};
    const ControlSpec rows[] = {{.name = "b", .kind = ControlKind::GraphicButton, .left = 1, .top = 1, .width = 3,
                                 .height = 1, .pictures = {.normal = "key"}}};
    const WindowSpec spec{.name = "w", .title = "", .width = 5, .height = 3, .backColour = Rgb{1, 2, 3},
                          .controls = rows};
    testing::FakePlatform fake;
    App app(fake);
    Window window(spec, app);
    Surface s(5, 3);
    paintWindow(window, s.canvas, pics, RawDecoder{});
    EXPECT_EQ(s.at(1, 1), (Rgb{1, 2, 3}));
    EXPECT_EQ(s.at(2, 1), (Rgb{161, 160, 160}));
    EXPECT_EQ(s.at(3, 1), (Rgb{160, 160, 159}));
}

TEST(Painter, TilesTheBackgroundTextureFromTheTopLeft) {
    AssetPictures pics;
    const Bitmap* texture = pics.picture("background");
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(texture->width, 323);
    ASSERT_EQ(texture->height, 165);
    const WindowSpec spec{.name = "w", .title = "", .width = 847, .height = 490, .background = "background", .controls = {}};
    testing::FakePlatform fake;
    App app(fake);
    Window window(spec, app);
    Surface s(847, 490);
    paintWindow(window, s.canvas, pics, RawDecoder{});
    for (int y : {0, 7, 164, 165, 166, 329, 330, 489}) {
        for (int x : {0, 5, 322, 323, 324, 645, 646, 846}) {
            EXPECT_EQ(s.at(x, y), unpackRgb(texture->at(x % 323, y % 165))) << x << "," << y;
        }
    }
}

TEST(Painter, ClipsChildrenToTheirPictureBoxAndStacksEarlierRowsOnTop) {
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
    paintWindow(window, s.canvas, pics, RawDecoder{});
    EXPECT_EQ(s.at(3, 3), (Rgb{0, 0, 200})) << "the edit box lies above its frame";
    EXPECT_EQ(s.at(6, 6), (Rgb{200, 0, 0}));
    EXPECT_EQ(s.at(12, 2), (Rgb{0, 200, 0}));
    EXPECT_EQ(s.at(15, 5), (Rgb{200, 0, 0})) << "child inside its box";
    EXPECT_EQ(s.at(17, 2), (Rgb{9, 9, 9})) << "child clipped at the box's right edge";
    EXPECT_EQ(s.at(15, 7), (Rgb{9, 9, 9})) << "child clipped at the box's bottom edge";
}

TEST(Painter, ShowsAnAnimationObjectUnscaledAtItsPlaceAndNothingForBadBytes) {
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
    // A 6 x 1 picture: wider than the box, so its right part is cut off.
    obj.setPictureBytes({'R', 6, 1, 10, 0, 0, 20, 0, 0, 30, 0, 0, 40, 0, 0, 50, 0, 0, 60, 0, 0});
    Surface s(8, 6);
    paintWindow(window, s.canvas, MadePictures{}, RawDecoder{});
    EXPECT_EQ(s.at(1, 1), (Rgb{10, 0, 0}));
    EXPECT_EQ(s.at(4, 1), (Rgb{40, 0, 0}));
    EXPECT_EQ(s.at(5, 1), (Rgb{9, 9, 9}));
    EXPECT_EQ(s.at(1, 2), (Rgb{5, 5, 5}));

    obj.setPictureBytes({'?', 1, 2});
    Surface bad(8, 6);
    paintWindow(window, bad.canvas, MadePictures{}, RawDecoder{});
    EXPECT_EQ(bad.at(1, 1), (Rgb{5, 5, 5}));
}

TEST(ButtonPictures, FollowHoverPressAndTheToggleState) {
    testing::FakePlatform fake;
    App app(fake);
    Control& play = app.main.control("图形按钮12");
    Control& convert = app.main.control("图形按钮2");
    EXPECT_STREQ(buttonPictureName(convert, {}), "plate_convert_normal");
    EXPECT_STREQ(buttonPictureName(convert, {.hovered = &convert}), "plate_convert_hover");
    EXPECT_STREQ(buttonPictureName(convert, {.pressed = &convert}), "plate_convert_hover");
    EXPECT_STREQ(buttonPictureName(play, {.hovered = &play}), "plate_play_normal");
    app.main.fire(play, Event::Clicked);
    EXPECT_STREQ(buttonPictureName(play, {}), "plate_stop_checked");
    app.main.fire(play, Event::Clicked);
    EXPECT_STREQ(buttonPictureName(play, {}), "plate_play_normal");
}

TEST(MainWindowPicture, EveryPictureTheLayoutNamesExistsAtItsSize) {
    AssetPictures pics;
    testing::FakePlatform fake;
    App app(fake);
    for (const Control& c : app.main.controls()) {
        const ButtonPictures& p = c.spec().pictures;
        for (const char* name : {p.normal, p.hover, p.pressed, p.disabled, c.spec().picture}) {
            if (!name) continue;
            const Bitmap* bmp = pics.picture(name);
            ASSERT_NE(bmp, nullptr) << name;
            if (c.kind() == ControlKind::GraphicButton && c.bounds().width == 128) {
                EXPECT_EQ(bmp->width, 131) << name;
                EXPECT_EQ(bmp->height, 34) << name;
            } else {
                EXPECT_EQ(bmp->width, 376) << name;
                EXPECT_EQ(bmp->height, 32) << name;
            }
        }
    }
}

}  // namespace
}  // namespace vorlane
