#include <gtest/gtest.h>

#include <vector>

#include "fake_platform.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

// Each step a choice, or a version box's text as the host tells it: the link follows at
// once. A press then makes a shortcut that switches to the chosen server and version and
// starts the game, named so that Windows can hold the name, and says what came of it.
TEST(ShortcutLink, ShowsWhileTheChosenServerHoldsAVersionTheSwitchTakesAndMakesItsShortcut) {
    struct Step {
        const char* control;
        Text text;    // of a version box
        Text made{};  // the name of the shortcut a press makes now; empty: the link is hidden
    };
    const Step steps[] = {
        {experienceVersionBox, "1.0 \"b\\"}, {experienceChoice, "", "CF体验服 1.0 _b_"}, {experienceVersionBox, "1.0<"},
            {experienceVersionBox, "1.0\x1A"},
        {experienceVersionBox, ""}, {liveVersionBox, "a/b:c*d?e"}, {liveChoice, "", "CF正服 a_b_c_d_e"},
        {liveVersionBox, "乗亅😀|", "CF正服 乗亅😀_"},  // "乗" and "亅" end in the bytes of "\" and "|"
    };
    testing::FakePlatform fake;
    App app(fake);
    for (const Step& s : steps) {
        Control& c = app.main.control(s.control);
        if (c.kind() == ControlKind::EditBox) c.syncTextFromUser(s.text);
        app.main.fire(c, c.kind() == ControlKind::EditBox ? Event::Changed : Event::Clicked);
        EXPECT_EQ(app.main.control(desktopShortcutLink).visible(), !s.made.empty()) << s.control << " " << s.text;
        if (s.made.empty()) continue;
        app.main.fire(app.main.control(desktopShortcutLink), Event::LeftButtonDown);
        const bool live = app.main.control(liveChoice).checked();
        const std::vector<Text> arguments{live ? "--live" : "--experience",
                                          app.main.control(live ? liveVersionBox : experienceVersionBox).text(),
                                              "--start"};
        EXPECT_EQ(fake.shortcuts.back(), std::make_pair(s.made, arguments));
    }
    fake.shortcutMade = {.reason = "拒绝访问。（错误代码 5）"};
    app.main.fire(app.main.control(desktopShortcutLink), Event::LeftButtonDown);
    EXPECT_EQ(fake.messages, (std::vector<Text>{"提示：已在桌面创建快捷方式：CF体验服 1.0 _b_",
                                                "提示：已在桌面创建快捷方式：CF正服 a_b_c_d_e",
                                                "提示：已在桌面创建快捷方式：CF正服 乗亅😀_",
                                                "提示：无法创建桌面快捷方式：拒绝访问。（错误代码 5）"}));
}

}  // namespace
}  // namespace vorlane
