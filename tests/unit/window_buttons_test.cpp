#include <gtest/gtest.h>

#include "app/app.h"
#include "fake_platform.h"
#include "online/web_addresses.h"

namespace vorlane {
namespace {

using testing::FakePlatform;

TEST(WindowButtons, MinimiseOnlyChangesTheWindowState) {
    FakePlatform fake;
    App app(fake);
    app.main.control("编辑框1").syncTextFromUser("1.0.0.1");
    app.main.control("编辑框2").syncTextFromUser("2.0.0.2");
    app.main.control("编辑框3").syncTextFromUser("C:\\音乐\\a.mp3");
    app.main.fire(app.main.control("图形按钮6"), Event::Clicked);
    EXPECT_TRUE(app.main.minimised());
    EXPECT_EQ(app.main.control("编辑框1").text(), "1.0.0.1");
    EXPECT_EQ(app.main.control("编辑框2").text(), "2.0.0.2");
    EXPECT_EQ(app.main.control("编辑框3").text(), "C:\\音乐\\a.mp3");
    EXPECT_EQ(app.main.control("时钟1").interval(), 100);
    EXPECT_TRUE(fake.destroyedWindows.empty());
    EXPECT_TRUE(fake.music.empty());
}

TEST(WindowButtons, CloseDestroysTheMainWindowAtOnce) {
    FakePlatform fake;
    App app(fake);
    app.main.fire(app.main.control("图形按钮7"), Event::Clicked);
    EXPECT_EQ(fake.destroyedWindows, std::vector<Window*>{&app.main});
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(fake.music.empty());
}

TEST(WindowButtons, OfficialSiteOpensOnEveryClick) {
    FakePlatform fake;
    App app(fake);
    for (int i = 0; i < 2; ++i) app.main.fire(app.main.control("图形按钮11"), Event::Clicked);
    EXPECT_EQ(fake.openedUrls, (std::vector<Text>{kOfficialSiteUrl, kOfficialSiteUrl}));
}

}  // namespace
}  // namespace vorlane
