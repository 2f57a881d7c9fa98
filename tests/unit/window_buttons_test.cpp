#include <gtest/gtest.h>

#include "app/run.h"
#include "fake_platform.h"
#include "online/web_addresses.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

using testing::FakePlatform;

TEST(WindowButtons, MinimiseOnlyChangesTheWindowState) {
    FakePlatform fake;
    App app(fake);
    app.main.control(experienceVersionBox).syncTextFromUser("1.0.0.1");
    app.main.control(liveVersionBox).syncTextFromUser("2.0.0.2");
    app.main.control(musicPathBox).syncTextFromUser("C:\\音乐\\a.mp3");
    app.main.fire(app.main.control(minimiseButton), Event::Clicked);
    EXPECT_TRUE(app.main.minimised());
    EXPECT_EQ(app.main.control(experienceVersionBox).text(), "1.0.0.1");
    EXPECT_EQ(app.main.control(liveVersionBox).text(), "2.0.0.2");
    EXPECT_EQ(app.main.control(musicPathBox).text(), "C:\\音乐\\a.mp3");
    EXPECT_EQ(app.main.control(versionTimer).interval(), 100);
    EXPECT_TRUE(fake.destroyedWindows.empty());
    EXPECT_TRUE(fake.music.empty());
}

TEST(WindowButtons, CloseDestroysTheMainWindowAtOnce) {
    FakePlatform fake;
    App app(fake);
    app.main.fire(app.main.control(closeButton), Event::Clicked);
    EXPECT_EQ(fake.destroyedWindows, std::vector<Window*>{&app.main});
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(fake.music.empty());
}

TEST(WindowButtons, OfficialSiteOpensOnEveryClick) {
    FakePlatform fake;
    App app(fake);
    for (int i = 0; i < 2; ++i) app.main.fire(app.main.control(officialSiteButton), Event::Clicked);
    EXPECT_EQ(fake.openedUrls, (std::vector<Text>{kOfficialSiteUrl, kOfficialSiteUrl}));
}

// The process's order: the App, its windows, and each window's host, which must end while
// the window it observes is whole (a host left to the platform outlived the App at exit).
TEST(AppLifetime, EachWindowHostEndsBeforeItsWindow) {
    testing::TempDir dir;
    FakePlatform fake;
    fake.programDir = dir.text();
    std::vector<std::string> goneWhileRunning;
    fake.whileRunning = [&] {
        Window& main = *fake.loadedWindows.front();
        main.fire(main.control(fullScreenButton), Event::Clicked);  // the preview opens, then closes
        goneWhileRunning = fake.hostsGone;
    };
    EXPECT_EQ(runApplication(fake), 0);
    const std::string main = "主窗口 " + std::to_string(mainWindowSpec().controls.size());
    EXPECT_EQ(goneWhileRunning, std::vector<std::string>{"预览窗口 3"});
    EXPECT_EQ(fake.hostsGone, (std::vector<std::string>{"预览窗口 3", main}));
}

}  // namespace
}  // namespace vorlane
