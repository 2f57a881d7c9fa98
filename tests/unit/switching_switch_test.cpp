#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/replace_journal.h"
#include "program/app.h"
#include "program/controls.h"
#include "switching/launcher_backup.h"
#include "switching_expected.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

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
    void clickSwitch() { app.main.fire(app.main.control(switchButton), Event::Clicked); }
    // Every file under the game folder, side files included; the backup of the game's own
    // launcher files too when asked.
    Files onDisk(bool backup = false) const {
        Files files;
        for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
            const std::string name = fs::relative(e.path(), dir.path()).string();
            if (e.is_regular_file() && (backup || !name.starts_with("Vorlane备份"))) files[name] = testing::readFile(e.path());
        }
        return files;
    }
    Text path(const char* relative) const { return dir.text() + relative; }
    const Text& state() const { return app.main.control(launcherStateLabel).text(); }
    void switchTo(const char* radio, const char* versionBox, const Text& version) {
        choose(radio);
        type(versionBox, version);
        clickSwitch();
    }
    // A live switch, then an experience switch killed at the given change (negative: counted
    // back from its last change); the program then starts again.
    void killedSwitch(int killAt) {
        switchTo(liveChoice, liveVersionBox, "2.0.1");
        fake.fileOps.changes = 0;
        fake.fileOps.crashAt = 0;
        switchTo(experienceChoice, experienceVersionBox, "3.0");
        switchTo(liveChoice, liveVersionBox, "2.0.1");
        const int steps = fake.fileOps.changes / 2;
        fake.fileOps.changes = 0;
        fake.fileOps.crashAt = killAt > 0 ? killAt : steps + 1 + killAt;
        switchTo(experienceChoice, experienceVersionBox, "3.0");
        fake.fileOps.crashAt = 0;
        fake.messages.clear();
    }
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
        {liveChoice, liveVersionBox, "2.0.19.50", liveFiles("2.0.19.50"), kLiveDone, true},
        {experienceChoice, experienceVersionBox, "2.0.19.50", experienceFiles("2.0.19.50"), kExperienceDone, false},
        {experienceChoice, experienceVersionBox, " ", experienceFiles(" "), kExperienceDone, false},
        {liveChoice, liveVersionBox, "版本 \"1'/\"", liveFiles("版本 \"1'/\""), kLiveDone, true},
    };
    for (const Case& c : cases) {
        Game g;
        g.choose(c.radio);
        g.type(c.versionBox, c.version);
        g.clickSwitch();
        EXPECT_EQ(g.onDisk(), c.expected) << c.radio << " '" << c.version << "'";
        EXPECT_EQ(g.fake.messages, std::vector<Text>{c.done});
        EXPECT_EQ(g.state(), Text("当前客户端：") + (c.live ? "正服 " : "体验服 ") + c.version);
        EXPECT_EQ(c.live ? g.app.liveVersionText : g.app.testVersionText, ex::versionFile(c.version));
        EXPECT_EQ(c.live ? g.app.testVersionText : g.app.liveVersionText, "");
    }
}

// Refused before anything is written: no choice, no version, a version that would break
// the version file's XML, or a program of the game folder still running.
TEST(SwitchingSwitch, RefusesWithoutAChoiceOrAUsableVersionOrWhileTheGameRunsAndWritesNothing) {
    const Text running = "C:\\CF\\TCLS\\Client.exe";
    const Text kBadVersion = "提示：版本号不能包含 < > & 或控制字符，请重新填写！";
    struct Case {
        const char* radio;  // nullptr: no choice made
        Text liveVersion, experienceVersion;
        Text message;
        bool gameRuns = false;
        bool cannotTell = false;  // whether the game runs
    };
    const Case cases[] = {
        {nullptr, "1.0", "2.0", kChooseFirst},
        {nullptr, "1.0", "2.0", kChooseFirst, true},
        {liveChoice, "", "2.0", kFillVersion},
        {experienceChoice, "1.0", "", kFillVersion, true},
        {liveChoice, "1.0</Version><x>", "2.0", kBadVersion},
        {experienceChoice, "1.0", "a&b", kBadVersion},
        {experienceChoice, "1.0", "1.0>", kBadVersion, true},
        {liveChoice, "1.0\t", "2.0", kBadVersion},
        {liveChoice, std::string("1.\0", 3), "2.0", kBadVersion},
        {liveChoice, "1.0\x7f", "2.0", kBadVersion},
        {liveChoice, "1.0", "2.0", "提示：游戏正在运行，请先关闭游戏再切换：\r\n" + running, true},
        {experienceChoice, "1.0", "2.0", "提示：无法检查游戏是否正在运行，请关闭游戏后重试。", false, true},
    };
    for (const Case& c : cases) {
        Game g;
        if (c.gameRuns) g.fake.running.path = running;
        g.fake.running.cannotTell = c.cannotTell;
        if (c.radio) g.choose(c.radio);
        g.type(liveVersionBox, c.liveVersion);
        g.type(experienceVersionBox, c.experienceVersion);
        g.clickSwitch();
        EXPECT_EQ(g.fake.messages, std::vector<Text>{c.message}) << (c.radio ? c.radio : "no choice");
        EXPECT_EQ(g.onDisk(), Files{});
        EXPECT_EQ(g.app.liveVersionText, "");
        EXPECT_EQ(g.app.testVersionText, "");
    }
}

TEST(SwitchingSwitch, EachSwitchReplacesTheFilesOfTheLastOne) {
    Game g;
    g.choose(liveChoice);
    g.type(liveVersionBox, "1.1");
    g.clickSwitch();
    g.type(liveVersionBox, "1.2");
    g.clickSwitch();
    EXPECT_EQ(g.onDisk(), liveFiles("1.2"));
    EXPECT_EQ(g.app.liveVersionText, ex::versionFile("1.2"));
    EXPECT_EQ(g.app.testVersionText, "");

    g.choose(experienceChoice);
    g.type(experienceVersionBox, "9.9");
    g.clickSwitch();
    EXPECT_EQ(g.onDisk(), experienceFiles("9.9"));
    EXPECT_EQ(g.app.testVersionText, ex::versionFile("9.9"));
    EXPECT_EQ(g.app.liveVersionText, ex::versionFile("1.2"));
    EXPECT_EQ(g.fake.messages, (std::vector<Text>{kLiveDone, kLiveDone, kExperienceDone}));
}

// Each step of the replacement, reading the files back included, fails in turn, or
// claims success without doing its work. Every run must either leave the old files
// untouched, name a file and leave no side file behind, or hold the new files and say so.
// The paths named by the failures show the order the files are written in.
TEST(SwitchingSwitch, AFailureAtAnyStepChangesNothingAndSaysWhere) {
    struct Case {
        const char* radio;
        const char* versionBox;
        std::vector<Text> order;
        Files after;
        const char* done;
    };
    const Case cases[] = {
        {liveChoice, liveVersionBox,
         {"\\TCLS\\mmog_data.xml", "\\TCLS\\config\\dirserver.xml", "\\TCLS\\config\\VersionServerConfig.xml",
          "\\TCLS\\config\\VersionServerConfigdynamic.ini"},
         liveFiles("3.0"), kLiveDone},
        {experienceChoice, experienceVersionBox,
         {"\\TCLS\\config\\VersionServerConfigdynamic.ini", "\\TCLS\\config\\VersionServerConfig.xml",
          "\\TCLS\\config\\dirserver.xml", "\\TCLS\\mmog_data.xml"},
         experienceFiles("3.0"), kExperienceDone},
    };
    const Files before = {{"TCLS/mmog_data.xml", "old version"},
                          {"TCLS/config/dirserver.xml", "old dir"},
                          {"TCLS/config/VersionServerConfig.xml", "old list"},
                          {"TCLS/config/VersionServerConfigdynamic.ini", "old choice"}};
    for (const Case& c : cases) {
        for (bool lies : {false, true}) {
            Game g;
            for (const auto& [name, bytes] : before) testing::writeFile(g.dir.path() / name, bytes);
            ASSERT_EQ(keepGameLauncher(g.app), std::nullopt);  // kept already: what fails below is the switch
            g.choose(c.radio);
            g.type(c.versionBox, "3.0");
            g.fake.fileOps.lies = lies;
            std::vector<Text> order = c.order;
            order.push_back("\\TCLS\\switch.vorlane-journal");  // written once every file is staged
            std::vector<Text> failedInOrder;
            int failAt = 1;
            for (;; ++failAt) {
                for (const auto& [name, bytes] : before) testing::writeFile(g.dir.path() / name, bytes);
                g.fake.messages.clear();
                g.fake.fileOps.calls = 0;
                g.fake.fileOps.failAt = failAt;
                g.clickSwitch();
                ASSERT_EQ(g.fake.messages.size(), 1u);
                if (g.fake.fileOps.calls < failAt) break;  // nothing failed
                if (g.fake.messages[0] == c.done) {
                    EXPECT_EQ(g.onDisk(), c.after) << c.radio << " lying step " << failAt;
                    continue;
                }
                const auto which = std::find_if(order.begin(), order.end(), [&](const Text& path) {
                    return g.fake.messages[0] == failure(g.path(path.c_str()));
                });
                ASSERT_NE(which, order.end()) << c.radio << " step " << failAt << ": " << g.fake.messages[0];
                if (std::find(failedInOrder.begin(), failedInOrder.end(), *which) == failedInOrder.end()) {
                    failedInOrder.push_back(*which);
                }
                EXPECT_EQ(g.onDisk(), before) << c.radio << " step " << failAt << (lies ? " lying" : "");
            }
            EXPECT_GT(failAt, 4) << c.radio;
            if (!lies) {
                EXPECT_EQ(failedInOrder, order) << c.radio;
            }
            EXPECT_EQ(g.fake.messages, std::vector<Text>{c.done});
            EXPECT_EQ(g.onDisk(), c.after) << c.radio;
        }
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
        {true, liveChoice, liveVersionBox, "\\TCLS\\config\\dirserver.xml"},
        {true, experienceChoice, experienceVersionBox, "\\TCLS\\config\\VersionServerConfigdynamic.ini"},
        {false, liveChoice, liveVersionBox, "\\TCLS\\mmog_data.xml"},
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

// The state line at start, after the crash recovery, for folders as players have them.
TEST(SwitchingState, TheStateLineSaysWhereTheLauncherFilesPoint) {
    const Text unknown = "当前客户端：未知（启动器文件不是本程序写入的）";
    const Text notFound = "当前客户端：未找到启动器（TCLS），请把本程序放在CF游戏根目录下";
    const Text live = "当前客户端：正服 2.0.1";
    auto killedSwitch = [](int killAt) { return [killAt](Game& g) { g.killedSwitch(killAt); }; };
    struct Case {
        const char* what;
        bool tcls, config;
        std::function<void(Game&)> setUp;
        Text state;
    };
    const Case cases[] = {
        {"no launcher folder", false, false, [](Game&) {}, notFound},
        {"TCLS without config", true, false, [](Game&) {}, notFound},
        {"no launcher files", true, true, [](Game&) {}, unknown},
        {"the game's own files", true, true,
         [](Game& g) {
             testing::writeFile(g.dir.path() / "TCLS/mmog_data.xml", ex::versionFile("1.0"));
             testing::writeFile(g.dir.path() / "TCLS/config/dirserver.xml", "<Server/>");
         },
         unknown},
        {"a live switch", true, true, [](Game& g) { g.switchTo(liveChoice, liveVersionBox, "2.0.1"); }, live},
        {"an experience switch", true, true, [](Game& g) { g.switchTo(experienceChoice, experienceVersionBox,
                                                                      "版本 3"); },
         "当前客户端：体验服 版本 3"},
        {"another tool changed a file", true, true,
         [](Game& g) {
             g.switchTo(liveChoice, liveVersionBox, "2.0.1");
             testing::writeFile(g.dir.path() / "TCLS/config/dirserver.xml", ex::kLiveDirServers + " ");
         },
         unknown},
        {"the version differs within the version file", true, true,
         [](Game& g) {
             g.switchTo(liveChoice, liveVersionBox, "2.0.1");
             const fs::path file = g.dir.path() / "TCLS/mmog_data.xml";
             testing::writeFile(file, replaceText(testing::readFile(file), "<resv1>2.0.1", "<resv1>2.0.2"));
         },
         unknown},
        {"live config files, experience choice", true, true,
         [](Game& g) {
             g.switchTo(liveChoice, liveVersionBox, "2.0.1");
             testing::writeFile(g.dir.path() / "TCLS/config/VersionServerConfigdynamic.ini", ex::kTestServerChoice);
         },
         unknown},
        {"a switch killed while staging", true, true, killedSwitch(1), live},
        {"a switch killed before removing its journal", true, true, killedSwitch(-1), "当前客户端：体验服 3.0"},
    };
    for (const Case& c : cases) {
        Game g(c.tcls, c.config);
        c.setUp(g);
        App started(g.fake);
        started.main.fireCreated();
        EXPECT_EQ(started.main.control(launcherStateLabel).text(), c.state) << c.what;
        for (const auto& [name, bytes] : g.onDisk()) EXPECT_EQ(name.find("vorlane"),
                                                               std::string::npos) << c.what << ": " << name;
    }
}

// A switch cut short that cannot simply be finished or undone at start: the player is told
// once the window shows, the files are left as they are, and a new switch is refused alike.
TEST(SwitchingRecovery, WhatCannotBeRecoveredAtStartIsToldAndLeftAlone) {
    const Text client = "C:\\CF\\TCLS\\Client.exe";
    const Text ini = "\\TCLS\\config\\VersionServerConfigdynamic.ini";
    const Text closeAndReopen = "\r\n请关闭占用这些文件的程序后重新打开本程序，程序会自动完成恢复。";
    struct Case {
        const char* what;
        std::function<void(Game&)> setUp;
        Text atStart;  // with the folder for "%s"
        Text onSwitch;
        bool changes = false;
    };
    const Case cases[] = {
        {"the game runs", [&](Game& g) { g.fake.running.path = client; },
         "提示：游戏正在运行，上次未完成的切换将在游戏关闭后重新打开本程序时完成：\r\n" + client,
         "提示：游戏正在运行，请先关闭游戏再切换：\r\n" + client},
        {"whether the game runs cannot be told", [](Game& g) { g.fake.running.cannotTell = true; },
         "提示：无法检查游戏是否正在运行，请关闭游戏后重试。", "提示：无法检查游戏是否正在运行，请关闭游戏后重试。"},
        {"a journal of a later program",
         [](Game& g) {
             const fs::path journal = g.dir.path() / "TCLS/switch.vorlane-journal";
             const std::string body = replaceText(testing::readFile(journal), "journal 2", "journal 9");
             testing::writeFile(journal, body.substr(0, body.rfind("end ")) + "end " + [&] {
                 char hex[17];
                 std::snprintf(hex, sizeof hex, "%016llx",
                               static_cast<unsigned long long>(
                                   fingerprint(textToBytes(body.substr(0, body.rfind("end ")))).checksum));
                 return std::string(hex);
             }() + "\r\n");
         },
         "提示：发现上次未完成的切换记录，但无法识别，游戏文件未作修改：\r\n%s\\TCLS\\switch.vorlane-journal",
         "提示：发现上次未完成的切换记录，但无法识别，游戏文件未作修改：\r\n%s\\TCLS\\switch.vorlane-journal"},
        {"a kept copy cut short, and new bytes missing",
         [](Game& g) {
             fs::resize_file(g.dir.path() / "TCLS/config/VersionServerConfigdynamic.ini.vorlane-old", 3);
             fs::remove(g.dir.path() / "TCLS/mmog_data.xml.vorlane-new");
         },
         "提示：上次的切换没有完成，且未能恢复全部文件，请不要启动游戏：\r\n%s" + ini + closeAndReopen,
         "提示：切换失败，且未能恢复全部文件，请不要启动游戏：\r\n%s" + ini + closeAndReopen, true},
    };
    for (const Case& c : cases) {
        Game g;
        g.killedSwitch(10);  // two of the four files moved
        ASSERT_TRUE(fs::exists(g.dir.path() / "TCLS/config/VersionServerConfig.xml.vorlane-old")) << c.what;
        c.setUp(g);
        const Files before = g.onDisk();
        App started(g.fake);
        started.main.fireCreated();
        EXPECT_EQ(g.fake.messages, std::vector<Text>{}) << c.what << ": nothing before the window shows";
        g.fake.showFirstFrame();
        const Text expected = replaceText(c.atStart, "%s", g.dir.text());
        EXPECT_EQ(g.fake.messages, std::vector<Text>{expected}) << c.what;
        EXPECT_EQ(g.onDisk() == before, !c.changes) << c.what;

        g.fake.messages.clear();
        const Files now = g.onDisk();
        started.main.fire(started.main.control(experienceChoice), Event::Clicked);
        started.main.control(experienceVersionBox).syncTextFromUser("4.0");
        started.main.fire(started.main.control(switchButton), Event::Clicked);
        EXPECT_EQ(g.fake.messages, std::vector<Text>{replaceText(c.onSwitch, "%s", g.dir.text())}) << c.what;
        EXPECT_EQ(g.onDisk(), now) << c.what;
    }
    Game clean;
    App started(clean.fake);
    clean.fake.loadWindow(started.main, false);
    EXPECT_EQ(clean.fake.messages, std::vector<Text>{});
}

// The launcher files a game installed, and what its updater wrote later; the game has no
// VersionServerConfigdynamic.ini of its own.
const Files kInstalled = {{"TCLS/mmog_data.xml", "installed version"},
                          {"TCLS/config/dirserver.xml", "installed dir"},
                          {"TCLS/config/VersionServerConfig.xml", "installed list"}};
const Files kUpdated = {{"TCLS/mmog_data.xml", "updated version"},
                        {"TCLS/config/dirserver.xml", "updated dir"},
                        {"TCLS/config/VersionServerConfig.xml", "updated list"},
                        {"TCLS/config/VersionServerConfigdynamic.ini", "updated choice"}};

// The launcher files below the folder (without side files or the backup).
Files launcher(const Files& all) {
    Files files;
    for (const auto& [name, bytes] : all) {
        if (name.starts_with("TCLS/") && name.find("vorlane") == std::string::npos) files[name] = bytes;
    }
    return files;
}

// What the backup keeps, as the launcher files it would put back.
Files kept(Game& g) {
    const std::optional<Backup> backup = readBackup(g.app);
    Files files;
    if (!backup || !backup->damaged.empty()) return {{"damaged", backup ? backup->damaged : "none"}};
    for (const KeptFile& f : backup->files) {
        if (f.existed) files[fs::relative(nativePath(f.target), g.dir.path()).string()] = bytesToText(f.bytes);
    }
    return files;
}

TEST(SwitchingBackup, TheFirstSwitchKeepsTheGamesOwnFilesAndTheLinkPutsThemBack) {
    const Text restored = "提示：已恢复游戏原来的启动器文件。";
    const Text question = "确定要把启动器文件恢复为本程序第一次切换前的样子吗？";
    Game g;
    for (const auto& [name, bytes] : kInstalled) testing::writeFile(g.dir.path() / name, bytes);
    Control& link = g.app.main.control(restoreLauncherLink);
    auto press = [&](bool yes) {
        g.fake.messages.clear();
        g.fake.answer = yes;
        g.app.main.fire(link, Event::LeftButtonDown);
    };
    g.switchTo(experienceChoice, experienceVersionBox, "1.0");
    g.switchTo(liveChoice, liveVersionBox, "2.0");  // a set this program wrote is never kept
    EXPECT_EQ(kept(g), kInstalled);
    EXPECT_TRUE(link.visible());
    press(false);
    EXPECT_EQ(g.fake.messages, std::vector<Text>{question});
    EXPECT_EQ(launcher(g.onDisk()), liveFiles("2.0"));

    press(true);
    EXPECT_EQ(g.fake.messages, (std::vector<Text>{question, restored}));
    EXPECT_EQ(g.onDisk(), kInstalled) << "VersionServerConfigdynamic.ini is gone again";
    EXPECT_EQ(g.state(), "当前客户端：游戏原来的启动器文件（未切换）");
    EXPECT_FALSE(link.visible());
    EXPECT_EQ(kept(g), kInstalled) << "the backup stays";

    // The game's updater rewrites the launcher: the next switch keeps that instead.
    for (const auto& [name, bytes] : kUpdated) testing::writeFile(g.dir.path() / name, bytes);
    g.switchTo(experienceChoice, experienceVersionBox, "1.1");
    EXPECT_EQ(kept(g), kUpdated);

    // A kept file that no longer matches its list is never put back.
    testing::writeFile(g.dir.path() / "Vorlane备份/TCLS/config/dirserver.xml", "damaged");
    g.switchTo(experienceChoice, experienceVersionBox, "1.2");
    EXPECT_FALSE(link.visible());
    const Files before = g.onDisk();
    press(true);
    EXPECT_EQ(g.fake.messages, std::vector<Text>{"提示：备份文件不完整，无法恢复：" + g.dir.text() +
                                                 "\\Vorlane备份\\TCLS\\config\\dirserver.xml"});
    EXPECT_EQ(g.onDisk(), before);
}

// The updater's set replaces the backup of the installed one in a switch killed at every
// change to the disk; after the next start the backup holds one set whole, never a mix.
TEST(SwitchingBackup, AKillWhileTheBackupIsReplacedLeavesOneWholeBackup) {
    std::set<std::string> seen;
    for (int n = 1;; ++n) {
        Game g;
        for (const auto& [name, bytes] : kInstalled) testing::writeFile(g.dir.path() / name, bytes);
        ASSERT_EQ(keepGameLauncher(g.app), std::nullopt);
        for (const auto& [name, bytes] : kUpdated) testing::writeFile(g.dir.path() / name, bytes);
        g.fake.fileOps.changes = 0;
        g.fake.fileOps.crashAt = n;
        g.switchTo(liveChoice, liveVersionBox, "2.0");
        if (!g.fake.fileOps.dead()) break;  // the switch ended before its n-th change
        g.fake.fileOps.crashAt = 0;
        App started(g.fake);
        started.main.fireCreated();
        const Files backup = kept(g);
        EXPECT_TRUE(backup == kInstalled || backup == kUpdated) << "killed at change " << n;
        seen.insert(backup == kInstalled ? "installed" : "updated");
        const Files files = g.onDisk(true);
        for (const auto& [name, bytes] : files) EXPECT_EQ(name.find("vorlane-"), std::string::npos) << n << name;
    }
    EXPECT_EQ(seen, (std::set<std::string>{"installed", "updated"}));
}

}  // namespace
}  // namespace vorlane
