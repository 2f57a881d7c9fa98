#include <gtest/gtest.h>

#include "fake_platform.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

using testing::FakePlatform;

struct State {
    bool liveChecked, experienceChecked, liveBoxEnabled, experienceBoxEnabled;
    bool operator==(const State&) const = default;
};

State stateOf(App& app) {
    return {app.main.control(liveChoice).checked(), app.main.control(experienceChoice).checked(),
            app.main.control(liveVersionBox).enabled(), app.main.control(experienceVersionBox).enabled()};
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
        {nullptr, liveChoice, live},        {nullptr, experienceChoice, experience},
        {liveChoice, liveChoice, live},      {liveChoice, experienceChoice, experience},
        {experienceChoice, liveChoice, live},      {experienceChoice, experienceChoice, experience},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        App app(fake);
        EXPECT_EQ(stateOf(app), start);
        app.main.control(liveVersionBox).syncTextFromUser("live typed");
        app.main.control(experienceVersionBox).syncTextFromUser("experience typed");
        if (c.reachBy) click(app, c.reachBy);
        click(app, c.click);
        EXPECT_EQ(stateOf(app), c.expected) << (c.reachBy ? c.reachBy : "start") << " then " << c.click;
        EXPECT_EQ(app.main.control(liveVersionBox).text(), "live typed");
        EXPECT_EQ(app.main.control(experienceVersionBox).text(), "experience typed");
        EXPECT_TRUE(fake.messages.empty());
    }
}

TEST(SwitchingLaunch, EveryClickStartsTheClientWithoutWaitingOrSaysWhyNot) {
    struct Case {
        bool installed;
        RunOutcome outcome;
        const char* message;  // followed by the client's path; nullptr: none
    };
    const Case cases[] = {
        {true, RunOutcome::Started, nullptr},
        {false, RunOutcome::Started, "提示：没有找到游戏程序："},
        {true, RunOutcome::Failed, "提示：无法启动游戏程序："},
        {true, RunOutcome::Declined, nullptr},  // the administrator prompt refused: as a cancelled double-click
    };
    for (const Case& c : cases) {
        testing::TempDir dir;
        FakePlatform fake;
        fake.runOutcome = c.outcome;
        App app(fake);
        app.gameDir = dir.text() + "/穿越 火线";
        const Text client = app.gameDir + "\\TCLS\\Client.exe";
        if (c.installed) testing::writeFile(dir.path() / "穿越 火线" / "TCLS" / "Client.exe", "MZ");
        for (int i = 0; i < 2; ++i) app.main.fire(app.main.control(startGameButton), Event::Clicked);
        ASSERT_EQ(fake.runs.size(), c.installed ? 2u : 0u);
        for (const FakePlatform::Run& r : fake.runs) {
            EXPECT_EQ(r.path, client);
            EXPECT_FALSE(r.wait);
        }
        EXPECT_EQ(fake.messages, c.message ? std::vector<Text>(2, c.message + client) : std::vector<Text>{});
    }
}

}  // namespace
}  // namespace vorlane
