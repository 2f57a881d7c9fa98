#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "loading/preview_window.h"
#include "program/app.h"
#include "program/controls.h"
#include "ui/hit_test.h"
#include "ui/tab_order.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

struct MainWindow : ::testing::Test {
    testing::FakePlatform fake;
    App app{fake};
    Control& c(const char* name) { return app.main.control(name); }
};

TEST_F(MainWindow, HasFiftyTwoUniquelyNamedControls) {
    std::set<std::string> names;
    for (const Control& control : app.main.controls()) names.insert(control.name());
    EXPECT_EQ(app.main.controls().size(), 52u);
    EXPECT_EQ(names.size(), 52u);
}

TEST_F(MainWindow, HoldsEveryControlTheHandlersUse) {
    for (const char* name :
         {experienceVersionBox, liveVersionBox, musicPathBox, liveVersionHeadTemplate, liveDirServersTemplate,
          liveVersionServersTemplate, liveServerChoiceTemplate, experienceServerChoiceTemplate,
          experienceVersionServersTemplate,
          experienceDirServersTemplate, experienceVersionHeadTemplate, liveVersionMiddleTemplate,
              experienceVersionMiddleTemplate, liveChoice, experienceChoice, experienceNewestVersionLabel,
              liveNewestVersionLabel,
          ipAddressLabel, ownVersionLabel, newestReleaseLabel, launcherStateLabel, restoreLauncherLink, versionTimer,
              loadingPicture, previewBox, musicFileDialog, playMusicToggle}) {
        EXPECT_NE(app.main.find(name), nullptr) << name;
    }
    Window preview(previewWindowSpec(), app);
    for (const char* name : {preview_controls::closeButton, preview_controls::pictureBox, preview_controls::picture}) {
        EXPECT_NE(preview.find(name), nullptr) << name;
    }
}

TEST_F(MainWindow, PlacesChildrenRelativeToTheirParents) {
    EXPECT_EQ(c(previewArea).windowRect(), (Rect{424, 80, 408, 176}));
    EXPECT_EQ(c(previewBox).windowRect(), (Rect{424, 80, 408, 176}));
    EXPECT_EQ(c(warningLabel).windowRect().left, 48);
    EXPECT_EQ(c(closeButton).windowRect().right(), 848);
    EXPECT_GT(c(closeButton).windowRect().right(), app.main.bounds().width);
}

TEST_F(MainWindow, StartsInTheLayoutsStates) {
    EXPECT_FALSE(c(liveChoice).checked());
    EXPECT_FALSE(c(experienceChoice).checked());
    EXPECT_FALSE(c(playMusicToggle).checked());
    EXPECT_EQ(c(versionTimer).interval(), 100);
    EXPECT_EQ(c(ownVersionLabel).text(), "1.0");
    EXPECT_EQ(c(newestReleaseLabel).text(), "1.0");
    EXPECT_EQ(c(liveNewestVersionLabel).text(), "0.0.0.0");
    EXPECT_FALSE(c(desktopShortcutLink).visible());
    for (int i = 4; i <= 13; ++i) {
        const Control& box = c(("编辑框" + std::to_string(i)).c_str());
        EXPECT_FALSE(box.visible());
        EXPECT_FALSE(box.enabled());
    }
    for (const char* name : {experienceVersionBox, liveVersionBox, musicPathBox}) {
        EXPECT_TRUE(c(name).visible());
        EXPECT_TRUE(c(name).enabled());
        EXPECT_EQ(c(name).text(), "");
    }
}

TEST_F(MainWindow, HitTestingFollowsTheStackingAndSkipsWhatIsNotOnTheSurface) {
    EXPECT_STREQ(controlAt(app.main, 380, 288)->name(),
                 installMusicButton) << "the overlap belongs to the upper button";
    EXPECT_STREQ(controlAt(app.main, 500, 150)->name(), previewBox) << "a child lies above its picture box";
    EXPECT_STREQ(controlAt(app.main, 420, 70)->name(), previewFrame);
    EXPECT_EQ(controlAt(app.main, 420, 10), nullptr) << "bare surface: the window can be dragged here";
    EXPECT_STREQ(controlAt(app.main, 0, 420)->name(), warningBand) << "the band starts left of the window";
    EXPECT_EQ(controlAt(app.main, 396, 138), nullptr) << "the invisible timer takes no clicks";
}

TEST(Scale, MapsUnitsToDevicePixelsAndCoversTheScreen) {
    struct Case {
        int dpi, units, px, backToUnits;
    };
    const Case cases[] = {
        {96, 847, 847, 847}, {120, 847, 1059, 847}, {144, 847, 1271, 847}, {192, 847, 1694, 847},
        {120, -16, -20, -16}, {144, -13, -20, -13}, {168, 490, 858, 490}, {240, 1, 3, 1},
    };
    for (const Case& c : cases) {
        Scale scale(c.dpi);
        EXPECT_EQ(scale.px(c.units), c.px) << c.dpi << " dpi, " << c.units;
        EXPECT_EQ(scale.units(c.px), c.backToUnits) << c.dpi << " dpi, " << c.px << " px";
    }
    // A full-screen window in units must reach every device pixel of the screen.
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        for (int screen : {768, 1080, 1366, 1600, 2160, 2560}) {
            Scale scale(dpi);
            EXPECT_GE(scale.px(scale.cover(screen)), screen) << dpi << " dpi, " << screen;
            EXPECT_LT(scale.px(scale.cover(screen) - 1), screen) << dpi << " dpi, " << screen;
        }
    }
}

TEST_F(MainWindow, ScalesWithTheDisplayDpiKeepingOverlapsFramesAndHits) {
    struct Case {
        int dpi, width, height;
    };
    const Case cases[] = {{120, 1059, 613}, {144, 1271, 735}, {192, 1694, 980}, {216, 1906, 1103}};
    // Upper button over lower button, and edit box on its frame.
    const std::pair<const char*, const char*> overlaps[] = {
        {installMusicButton, musicPathFrame}, {restoreMusicButton, installMusicButton}, {playMusicToggle,
                                                                                         startGameButton},
                                                                                         {officialSiteButton,
                                                                                         startGameButton}};
    const std::pair<const char*, const char*> framed[] = {
        {musicPathBox, musicPathFrame}, {liveVersionBox, liveVersionFrame}, {experienceVersionBox,
                                                                             experienceVersionFrame}};
    for (const Case& k : cases) {
        Scale scale(k.dpi);
        EXPECT_EQ(scale.windowRect(app.main.bounds()), (Rect{0, 0, k.width, k.height})) << k.dpi;
        for (const auto& [upper, lower] : overlaps) {
            int overlap = intersect(scale.rect(c(upper).windowRect()), scale.rect(c(lower).windowRect())).width;
            EXPECT_GE(overlap, static_cast<int>(8 * scale.factor())) << k.dpi << " dpi: " << upper << " over " << lower;
            EXPECT_LE(overlap, static_cast<int>(8 * scale.factor()) + 1) << k.dpi << " dpi: " << upper;
        }
        for (const auto& [edit, frame] : framed) {
            Rect e = scale.rect(c(edit).windowRect()), f = scale.rect(c(frame).windowRect());
            EXPECT_EQ(intersect(e, f), e) << k.dpi << " dpi: " << edit << " leaves its frame";
            EXPECT_GE(e.left - f.left, static_cast<int>(8 * scale.factor())) << k.dpi << " dpi: " << edit;
        }
        // Every spot that belongs to a control at 100 % belongs to it on the scaled device.
        for (const Control& control : app.main.controls()) {
            Rect r = control.windowRect();
            int x = r.left + r.width / 2, y = r.top + r.height / 2;
            const Control* unscaled = controlAt(app.main, x, y);
            if (!unscaled || x < 0) continue;
            EXPECT_EQ(controlAt(app.main, scale.px(x), scale.px(y), scale),
                      unscaled) << k.dpi << " dpi: " << control.name();
        }
    }
}

TEST_F(MainWindow, ClicksFlipTheToggleAndCheckOneRadioOfTheGroup) {
    app.main.fire(c(experienceChoice), Event::Clicked);
    EXPECT_TRUE(c(experienceChoice).checked());
    EXPECT_FALSE(c(liveChoice).checked());
    app.main.fire(c(liveChoice), Event::Clicked);
    EXPECT_TRUE(c(liveChoice).checked());
    EXPECT_FALSE(c(experienceChoice).checked());
    app.main.fire(c(liveChoice), Event::Clicked);
    EXPECT_TRUE(c(liveChoice).checked());
}

// Tab and Shift+Tab go round the stops the window has now; the arrows go round the radio
// group.
TEST_F(MainWindow, TabFollowsTheTaskWithTheRadioGroupAsOneStopAndPassesOverDisabledBoxes) {
    auto round = [&](bool backwards) {
        std::vector<std::string> names;
        const Control* at = nullptr;
        for (int i = 0; i < 16; ++i) {
            at = nextTabStop(app.main, at, backwards);
            names.push_back(at ? at->name() : "-");
        }
        return names;
    };
    const std::vector<std::string> rest = {switchButton, musicPathBox, chooseMusicLink, installMusicButton,
                                           restoreMusicButton, playMusicToggle,
                                           startGameButton, officialSiteButton, fullScreenButton, minimiseButton,
                                               closeButton};
    struct Case {
        const char* chosen;  // the radio button clicked first, if any
        std::vector<std::string> stops;
        bool restoreShown = false;  // the link that puts the game's launcher back follows 转 换
    };
    const Case cases[] = {
        {nullptr, {liveChoice, liveVersionBox, experienceVersionBox}},
        {experienceChoice, {experienceChoice, experienceVersionBox}},  // choosing the experience server disables the live version box
        {liveChoice, {liveChoice, liveVersionBox}},
        {liveChoice, {liveChoice, liveVersionBox}, true},
    };
    for (const Case& k : cases) {
        if (k.chosen) app.main.fire(c(k.chosen), Event::Clicked);
        c(restoreLauncherLink).setVisible(k.restoreShown);
        std::vector<std::string> stops = k.stops, forwards, backwards;
        stops.insert(stops.end(), rest.begin(), rest.end());
        if (k.restoreShown) stops.insert(stops.begin() + static_cast<std::ptrdiff_t>(k.stops.size()) + 1,
                                         restoreLauncherLink);
        for (std::size_t i = 0, n = stops.size(); i < 16; ++i) {
            forwards.push_back(stops[i % n]);
            backwards.push_back(stops[n - 1 - i % n]);
        }
        EXPECT_EQ(round(false), forwards) << (k.chosen ? k.chosen : "no choice");
        EXPECT_EQ(round(true), backwards) << (k.chosen ? k.chosen : "no choice");
    }
    // From the choice that is not checked, Tab still leaves the group.
    EXPECT_STREQ(nextTabStop(app.main, &c(experienceChoice), false)->name(), liveVersionBox);
    EXPECT_STREQ(nextTabStop(app.main, &c(experienceChoice), true)->name(), closeButton);
    for (bool backwards : {false, true}) {
        EXPECT_EQ(nextRadio(app.main, c(liveChoice), backwards), &c(experienceChoice));
        EXPECT_EQ(nextRadio(app.main, c(experienceChoice), backwards), &c(liveChoice));
    }
    Window preview(previewWindowSpec(), app);
    EXPECT_STREQ(nextTabStop(preview, nullptr, false)->name(), preview_controls::closeButton);
    EXPECT_STREQ(nextTabStop(preview, &preview.control(preview_controls::closeButton), true)->name(),
                 preview_controls::closeButton);
    EXPECT_STREQ(preview.spec().cancelButton, preview_controls::closeButton);
}

}  // namespace
}  // namespace vorlane
