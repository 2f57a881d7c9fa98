#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "fake_platform.h"
#include "switching_expected.h"

namespace vorlane {
namespace {

namespace ex = testing::expected;
namespace fs = std::filesystem;
using testing::FakePlatform;
using testing::TempDir;

const char* const kLiveDone = "本程序为您成功切换成CF正服，即可进入游戏.";
const char* const kExperienceDone = "本程序为您成功切换成CF体验服，即可进入游戏.";
const char* const kChooseFirst = "提示：请先选中项目！";
const char* const kFillVersion = "提示：请填写版本号！";

// File name (relative to the game folder, slash-separated) -> bytes.
using Files = std::map<std::string, std::string>;

Files liveFiles(const Text& v) {
    return {{"TCLS/mmog_data.xml", ex::versionFile(v)},
            {"TCLS/config/dirserver.xml", ex::kLiveDirServers},
            {"TCLS/config/VersionServerConfig.xml", ex::kLiveVersionServers},
            {"TCLS/config/VersionServerConfigdynamic.ini", ex::kLiveServerChoice}};
}

Files experienceFiles(const Text& v) {
    return {{"TCLS/mmog_data.xml", ex::versionFile(v)},
            {"TCLS/config/dirserver.xml", ex::kTestDirServers},
            {"TCLS/config/VersionServerConfig.xml", ex::kTestVersionServers},
            {"TCLS/config/VersionServerConfigdynamic.ini", ex::kTestServerChoice}};
}

Text failure(const Text& path) {
    return "提示：切换失败，游戏文件未作任何修改。无法写入：\r\n" + path +
           "\r\n请确认本程序放在CF游戏根目录下，并关闭游戏后重试。";
}

// A game folder with the program in it, as the player sets it up.
struct Game {
    TempDir dir;
    FakePlatform fake;
    App app{fake};

    explicit Game(bool tcls = true, bool config = true) {
        fake.programDir = dir.text();
        app.gameDir = dir.text();
        if (tcls) fs::create_directory(dir.path() / "TCLS");
        if (tcls && config) fs::create_directory(dir.path() / "TCLS" / "config");
    }
    void choose(const char* radio) { app.main.fire(app.main.control(radio), Event::Clicked); }
    void type(const char* box, const Text& text) { app.main.control(box).syncTextFromUser(text); }
    void clickSwitch() { app.main.fire(app.main.control("图形按钮2"), Event::Clicked); }
    // Every file under the game folder, side files included.
    Files onDisk() const {
        Files files;
        for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
            if (e.is_regular_file()) files[fs::relative(e.path(), dir.path()).string()] = testing::readFile(e.path());
        }
        return files;
    }
    Text path(const char* relative) const { return dir.text() + relative; }
};

TEST(SwitchingSwitch, EachServerWritesExactlyItsFourFiles) {
    struct Case {
        const char* radio;
        const char* versionBox;
        Text version;
        Files expected;
        const char* done;
        bool live;
    };
    const Case cases[] = {
        {"单选框1", "编辑框2", "2.0.19.50", liveFiles("2.0.19.50"), kLiveDone, true},
        {"单选框2", "编辑框1", "2.0.19.50", experienceFiles("2.0.19.50"), kExperienceDone, false},
        {"单选框2", "编辑框1", " ", experienceFiles(" "), kExperienceDone, false},
        {"单选框1", "编辑框2", "<&> 1", liveFiles("<&> 1"), kLiveDone, true},
    };
    for (const Case& c : cases) {
        Game g;
        g.choose(c.radio);
        g.type(c.versionBox, c.version);
        g.clickSwitch();
        EXPECT_EQ(g.onDisk(), c.expected) << c.radio << " '" << c.version << "'";
        EXPECT_EQ(g.fake.messages, std::vector<Text>{c.done});
        EXPECT_EQ(c.live ? g.app.liveVersionText : g.app.testVersionText, ex::versionFile(c.version));
        EXPECT_EQ(c.live ? g.app.testVersionText : g.app.liveVersionText, "");
    }
}

TEST(SwitchingSwitch, RefusesWithoutAChoiceOrAVersionAndWritesNothing) {
    struct Case {
        const char* radio;  // nullptr: no choice made
        Text liveVersion, experienceVersion;
        const char* message;
    };
    const Case cases[] = {
        {nullptr, "1.0", "2.0", kChooseFirst},
        {"单选框1", "", "2.0", kFillVersion},
        {"单选框2", "1.0", "", kFillVersion},
    };
    for (const Case& c : cases) {
        Game g;
        if (c.radio) g.choose(c.radio);
        g.type("编辑框2", c.liveVersion);
        g.type("编辑框1", c.experienceVersion);
        g.clickSwitch();
        EXPECT_EQ(g.fake.messages, std::vector<Text>{c.message}) << (c.radio ? c.radio : "no choice");
        EXPECT_EQ(g.onDisk(), Files{});
        EXPECT_EQ(g.app.liveVersionText, "");
        EXPECT_EQ(g.app.testVersionText, "");
    }
}

TEST(SwitchingSwitch, EachSwitchReplacesTheFilesOfTheLastOne) {
    Game g;
    g.choose("单选框1");
    g.type("编辑框2", "1.1");
    g.clickSwitch();
    g.type("编辑框2", "1.2");
    g.clickSwitch();
    EXPECT_EQ(g.onDisk(), liveFiles("1.2"));
    EXPECT_EQ(g.app.liveVersionText, ex::versionFile("1.2"));
    EXPECT_EQ(g.app.testVersionText, "");

    g.choose("单选框2");
    g.type("编辑框1", "9.9");
    g.clickSwitch();
    EXPECT_EQ(g.onDisk(), experienceFiles("9.9"));
    EXPECT_EQ(g.app.testVersionText, ex::versionFile("9.9"));
    EXPECT_EQ(g.app.liveVersionText, ex::versionFile("1.2"));
    EXPECT_EQ(g.fake.messages, (std::vector<Text>{kLiveDone, kLiveDone, kExperienceDone}));
}

// Each step of the replacement fails in turn until a run gets through. Every failure must
// leave the old files untouched and no side files behind; the paths named by the failures
// show the order the files are written in.
TEST(SwitchingSwitch, AFailureAtAnyStepChangesNothingAndSaysWhere) {
    struct Case {
        const char* radio;
        const char* versionBox;
        std::vector<Text> order;
        Files after;
        const char* done;
    };
    const Case cases[] = {
        {"单选框1", "编辑框2",
         {"\\TCLS\\mmog_data.xml", "\\TCLS\\config\\dirserver.xml", "\\TCLS\\config\\VersionServerConfig.xml",
          "\\TCLS\\config\\VersionServerConfigdynamic.ini"},
         liveFiles("3.0"), kLiveDone},
        {"单选框2", "编辑框1",
         {"\\TCLS\\config\\VersionServerConfigdynamic.ini", "\\TCLS\\config\\VersionServerConfig.xml",
          "\\TCLS\\config\\dirserver.xml", "\\TCLS\\mmog_data.xml"},
         experienceFiles("3.0"), kExperienceDone},
    };
    const Files before = {{"TCLS/mmog_data.xml", "old version"},
                          {"TCLS/config/dirserver.xml", "old dir"},
                          {"TCLS/config/VersionServerConfig.xml", "old list"},
                          {"TCLS/config/VersionServerConfigdynamic.ini", "old choice"}};
    for (const Case& c : cases) {
        Game g;
        for (const auto& [name, bytes] : before) testing::writeFile(g.dir.path() / name, bytes);
        g.choose(c.radio);
        g.type(c.versionBox, "3.0");

        std::vector<Text> failedInOrder;
        int failAt = 1;
        for (; failAt < 100; ++failAt) {
            g.fake.messages.clear();
            g.fake.fileOps.calls = 0;
            g.fake.fileOps.failAt = failAt;
            g.clickSwitch();
            ASSERT_EQ(g.fake.messages.size(), 1u);
            if (g.fake.messages[0] == c.done) break;
            const auto named = std::find_if(c.order.begin(), c.order.end(), [&](const Text& path) {
                return g.fake.messages[0] == failure(g.path(path.c_str()));
            });
            ASSERT_NE(named, c.order.end()) << c.radio << " step " << failAt << ": " << g.fake.messages[0];
            if (std::find(failedInOrder.begin(), failedInOrder.end(), *named) == failedInOrder.end()) {
                failedInOrder.push_back(*named);
            }
            EXPECT_EQ(g.onDisk(), before) << c.radio << " step " << failAt;
        }
        EXPECT_GT(failAt, 4) << c.radio;
        EXPECT_EQ(failedInOrder, c.order) << c.radio;
        EXPECT_EQ(g.onDisk(), c.after) << c.radio;
    }
}

TEST(SwitchingSwitch, AMissingLauncherFolderChangesNothing) {
    struct Case {
        bool tcls;
        const char* radio;
        const char* versionBox;
        const char* failedPath;
    };
    const Case cases[] = {
        {true, "单选框1", "编辑框2", "\\TCLS\\config\\dirserver.xml"},
        {true, "单选框2", "编辑框1", "\\TCLS\\config\\VersionServerConfigdynamic.ini"},
        {false, "单选框1", "编辑框2", "\\TCLS\\mmog_data.xml"},
    };
    for (const Case& c : cases) {
        Game g(c.tcls, false);
        g.choose(c.radio);
        g.type(c.versionBox, "1.0");
        g.clickSwitch();
        EXPECT_EQ(g.fake.messages, std::vector<Text>{failure(g.path(c.failedPath))}) << c.radio;
        EXPECT_EQ(g.onDisk(), Files{}) << c.radio;
        EXPECT_FALSE(fs::exists(g.dir.path() / "TCLS" / "config")) << "no folder is created";
    }
}

}  // namespace
}  // namespace vorlane
