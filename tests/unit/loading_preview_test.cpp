#include <gtest/gtest.h>

#include "fake_platform.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

namespace fs = std::filesystem;
using testing::writeFile;

class LoadingPreview : public ::testing::Test {
protected:
    void SetUp() override {
        app.gameDir = fake.programDir = dir.text();
    }

    fs::path picture() const { return dir.path() / "TCLS" / "ui" / "background_Loading.png"; }
    void open() { app.main.fire(app.main.control(fullScreenButton), Event::Clicked); }

    testing::TempDir dir;
    testing::FakePlatform fake;
    App app{fake};
};

TEST_F(LoadingPreview, CoversTheWholeScreenWithTheCloseButtonInPlace) {
    const int screens[][2] = {{1024, 768}, {1920, 1080}, {800, 600}, {3840, 2160}, {1366, 768}};
    for (const auto& [w, h] : screens) {
        fake.screenW = w;
        fake.screenH = h;
        bool inspected = false;
        fake.whileModal = [&](Window& window) {
            inspected = true;
            EXPECT_EQ(&window, app.preview.get());
            EXPECT_EQ(window.bounds(), (Rect{0, 0, w, h}));
            const Control& box = window.control(preview_controls::pictureBox);
            EXPECT_EQ(box.bounds(), (Rect{0, 0, w, h}));
            EXPECT_EQ(box.placedObject(), &window.control(preview_controls::picture));
            EXPECT_EQ(box.placedLeft(), 0);
            EXPECT_EQ(box.placedTop(), 0);
            EXPECT_EQ(window.control(preview_controls::closeButton).bounds(), (Rect{0, 32, 376, 32}));
        };
        open();
        EXPECT_TRUE(inspected) << w << "x" << h;
        EXPECT_EQ(app.preview, nullptr);
    }
}

TEST_F(LoadingPreview, ReadsThePictureAfreshAtEveryOpening) {
    const std::string pictures[] = {"first picture", "second, replaced on disk", ""};
    for (const std::string& bytes : pictures) {
        if (bytes.empty()) {
            fs::remove(picture());
        } else {
            writeFile(picture(), bytes);
        }
        Bytes shown{'x'};
        fake.whileModal = [&](Window& window) { shown = window.control(preview_controls::picture).pictureBytes(); };
        open();
        EXPECT_EQ(bytesToText(shown), bytes);
    }
    EXPECT_EQ(fake.loadedWindows.size(), 3u);  // a missing picture still opens the window
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(LoadingPreview, CloseDestroysOnlyThePreview) {
    writeFile(picture(), "picture");
    const Rect mainBounds = app.main.bounds();
    Window* opened = nullptr;
    fake.whileModal = [&](Window& window) {
        opened = &window;
        window.fire(window.control(preview_controls::closeButton), Event::Clicked);
        EXPECT_EQ(app.preview.get(), &window);  // still alive for the host after the click
    };
    open();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(fake.destroyedWindows, std::vector<Window*>{opened});
    EXPECT_EQ(app.preview, nullptr);
    EXPECT_EQ(app.main.bounds(), mainBounds);
    EXPECT_TRUE(app.main.control(loadingPicture).pictureBytes().empty());
}

}  // namespace
}  // namespace vorlane
