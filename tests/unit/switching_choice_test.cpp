#include <gtest/gtest.h>

#include "app/app.h"
#include "fake_platform.h"

namespace vorlane {
namespace {

using testing::FakePlatform;

struct State {
    bool liveChecked, experienceChecked, liveBoxEnabled, experienceBoxEnabled;
    bool operator==(const State&) const = default;
};

State stateOf(App& app) {
    return {app.main.control("单选框1").checked(), app.main.control("单选框2").checked(),
            app.main.control("编辑框2").enabled(), app.main.control("编辑框1").enabled()};
}

void click(App& app, const char* radio) { app.main.fire(app.main.control(radio), Event::Clicked); }

TEST(SwitchingChoice, EachRadioLeadsFromEveryStateToItsOwn) {
    const State start{false, false, true, true};
    const State live{true, false, true, false};
    const State experience{false, true, false, true};
    struct Case {
        const char* reachBy;  // nullptr: stay at the start
        const char* click;
        State expected;
    };
    const Case cases[] = {
        {nullptr, "单选框1", live},        {nullptr, "单选框2", experience},
        {"单选框1", "单选框1", live},      {"单选框1", "单选框2", experience},
        {"单选框2", "单选框1", live},      {"单选框2", "单选框2", experience},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        App app(fake);
        EXPECT_EQ(stateOf(app), start);
        app.main.control("编辑框2").syncTextFromUser("live typed");
        app.main.control("编辑框1").syncTextFromUser("experience typed");
        if (c.reachBy) click(app, c.reachBy);
        click(app, c.click);
        EXPECT_EQ(stateOf(app), c.expected) << (c.reachBy ? c.reachBy : "start") << " then " << c.click;
        EXPECT_EQ(app.main.control("编辑框2").text(), "live typed");
        EXPECT_EQ(app.main.control("编辑框1").text(), "experience typed");
        EXPECT_TRUE(fake.messages.empty());
    }
}

TEST(SwitchingLaunch, EveryClickStartsTheClientWithoutWaiting) {
    FakePlatform fake;
    App app(fake);
    app.gameDir = "D:\\Games\\穿越 火线";
    for (int i = 0; i < 3; ++i) app.main.fire(app.main.control("图形按钮10"), Event::Clicked);
    ASSERT_EQ(fake.runs.size(), 3u);
    for (const FakePlatform::Run& r : fake.runs) {
        EXPECT_EQ(r.path, "D:\\Games\\穿越 火线\\TCLS\\Client.exe");
        EXPECT_FALSE(r.wait);
    }
    EXPECT_TRUE(fake.messages.empty());
}

}  // namespace
}  // namespace vorlane
