#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/command_line.h"
#include "fake_platform.h"
#include "switching/launcher_files.h"

namespace vorlane {
namespace {

// What a command line asks for, written as one: "" the window, "?" the usage.
Text asked(const CommandLine& c) {
    if (c.kind != CommandLine::Kind::Switch) return c.kind == CommandLine::Kind::Window ? "" : "?";
    return c.branch->option + (" [" + c.version + "]") + (c.start ? " --start" : "");
}

TEST(CommandLine, TakesOneServerWithItsVersionAndAnOptionalStartAndNothingElse) {
    const std::pair<std::vector<Text>, Text> cases[] = {
        {{}, ""}, {{"--live", "1.0.9.310"}, "--live [1.0.9.310]"}, {{"--live", "1", "--start"}, "--live [1] --start"},
        {{"--experience", "版 \"2\\"}, "--experience [版 \"2\\]"}, {{"--start", "--live", "-2"}, "--live [-2] --start"},
        {{"--live", ""}, "--live []"},  // refused by the switch, as in the window
        {{"--live"}, "?"}, {{"--start"}, "?"}, {{"--live", "--start"}, "?"}, {{"--live", "1", "2"}, "?"},
        {{"1", "--live"}, "?"}, {{"--live", "1", "--experience", "2"}, "?"}, {{"--live", "1", "--live", "1"}, "?"},
        {{"--live", "1", "--start", "--start"}, "?"}, {{"--LIVE", "1"}, "?"}, {{"/?"}, "?"}, {{""}, "?"},
    };
    for (const auto& [arguments, expected] : cases) EXPECT_EQ(asked(parseCommandLine(arguments)), expected) << expected;
}

// What the end-to-end tests cannot arrange at will: another copy holding the folder, and a
// switch cut short while the game runs, whose recovery must wait. Neither switches.
TEST(CommandLine, NeitherAnotherCopyNorARecoveryThatMustWaitLetsItSwitch) {
    const Text journal = "vorlane journal 2\r\n";  // cut short
    for (const bool otherCopy : {true, false}) {
        testing::TempDir dir;
        testing::FakePlatform fake;
        fake.programDir = dir.text();
        fake.running.path = "C:\\CF\\Client.exe";
        testing::writeFile(dir.path() / "TCLS/switch.vorlane-journal", journal);
        EXPECT_EQ(runCommandLine(fake, parseCommandLine({"--live", "1.0"}), otherCopy), 1);
        EXPECT_EQ(fake.messages, std::vector<Text>{otherCopy ? "提示：本程序已在此游戏目录中运行，请在已打开的窗口中操作。"
                                                             : "提示：游戏正在运行，上次未完成的切换将在游戏关闭后重新"
                                                               "打开本程序时完成：\r\nC:\\CF\\Client.exe"});
        EXPECT_EQ(testing::readFile(dir.path() / "TCLS/switch.vorlane-journal"), journal);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "TCLS/mmog_data.xml"));
    }
}

}  // namespace
}  // namespace vorlane
