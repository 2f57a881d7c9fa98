#include <gtest/gtest.h>

#include "fake_platform.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

class LoadingMusic : public ::testing::Test {
protected:
    void SetUp() override {
        app.gameDir = fake.programDir = dir.text();
        writeFile(installed(), "launcher's own music");
    }
    fs::path installed() const { return dir.path() / "TCLS" / "music" / "sound.mp3"; }
    Text pathOf(const std::string& name) const { return dir.text() + "\\" + name; }
    void click(const char* button, const Text& musicPath = "") {
        app.main.control(musicPathBox).setText(musicPath);
        fake.messages.clear();
        app.main.fire(app.main.control(button), Event::Clicked);
    }

    testing::TempDir dir;
    testing::FakePlatform fake;
    App app{fake};
};

TEST_F(LoadingMusic, NothingIsWrittenFromAnUnusableSource) {
    writeFile(dir.path() / "empty.mp3", "");
    struct Case {
        const char* button;
        Text musicPath;
        Text message;
    };
    const Case cases[] = {
        {installMusicButton, "", "提示：没填写mp3文件路径。"},
        {installMusicButton, "   ", "提示：无法读取mp3文件：   "},
        {installMusicButton, pathOf("missing.mp3"), "提示：无法读取mp3文件：" + pathOf("missing.mp3")},
        {installMusicButton, pathOf("empty.mp3"), "提示：无法读取mp3文件：" + pathOf("empty.mp3")},
        {installMusicButton, pathOf("TCLS"), "提示：无法读取mp3文件：" + pathOf("TCLS")},  // a folder
        {restoreMusicButton, pathOf("empty.mp3"), "提示：没有找到备份音乐文件：" + pathOf("sound.mp3")},
    };
    for (const Case& c : cases) {
        click(c.button, c.musicPath);
        EXPECT_EQ(fake.messages, std::vector<Text>{c.message}) << c.musicPath;
        EXPECT_EQ(readFile(installed()), "launcher's own music") << c.musicPath;
    }
    writeFile(dir.path() / "sound.mp3", "");
    click(restoreMusicButton);
    EXPECT_EQ(fake.messages, std::vector<Text>{"提示：没有找到备份音乐文件：" + pathOf("sound.mp3")});
}

TEST_F(LoadingMusic, InstallCopiesByteForByteAndRestoreBringsBackTheBackup) {
    const std::string first("ID3\0\xff\xfe first", 13);
    writeFile(dir.path() / "我的 歌.mp3", first);
    writeFile(dir.path() / "second.mp3", "second");
    writeFile(dir.path() / "sound.mp3", "backup copy");
    const std::vector<Text> ok{"提示：OK了，现在就可以用了。"};

    click(installMusicButton, pathOf("我的 歌.mp3"));
    EXPECT_EQ(readFile(installed()), first);
    click(installMusicButton, pathOf("second.mp3"));
    EXPECT_EQ(readFile(installed()), "second");
    EXPECT_EQ(fake.messages, ok);
    std::string large(3 * (1 << 20) + 17, '\0');  // several pieces of a copy
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 4099);
    writeFile(dir.path() / "large.mp3", large);
    click(installMusicButton, pathOf("large.mp3"));
    EXPECT_EQ(readFile(installed()), large);
    EXPECT_EQ(fake.messages, ok);
    click(restoreMusicButton);
    EXPECT_EQ(readFile(installed()), "backup copy");
    EXPECT_TRUE(fake.messages.empty());
}

// Before the launcher's own music is first replaced it goes beside the program, where 还 原
// finds it; a copy there is never overwritten, and one that cannot be made holds the change back.
TEST_F(LoadingMusic, TheFirstInstallKeepsTheLaunchersOwnMusicForRestore) {
    writeFile(dir.path() / "new.mp3", "new song");
    writeFile(dir.path() / "newer.mp3", "newer song");
    fs::create_directory(dir.path() / "sound.mp3.vorlane-new");  // the copy cannot be staged
    click(installMusicButton, pathOf("new.mp3"));
    EXPECT_EQ(fake.messages, std::vector<Text>{"提示：无法备份原来的背景音乐：" + pathOf("sound.mp3")});
    EXPECT_EQ(readFile(installed()), "launcher's own music");
    fs::remove(dir.path() / "sound.mp3.vorlane-new");
    for (const char* song : {"new.mp3", "newer.mp3"}) {
        click(installMusicButton, pathOf(song));
        EXPECT_EQ(fake.messages, std::vector<Text>{"提示：OK了，现在就可以用了。"});
        EXPECT_EQ(readFile(dir.path() / "sound.mp3"), "launcher's own music") << song;
    }
    click(restoreMusicButton);
    EXPECT_EQ(readFile(installed()), "launcher's own music");
}

TEST_F(LoadingMusic, FailedWriteIsReportedAndKeepsTheOldMusic) {
    writeFile(dir.path() / "new.mp3", "new song");
    writeFile(dir.path() / "sound.mp3", "backup copy");
    const std::vector<Text> failure{"提示：无法写入背景音乐文件：" + pathOf("TCLS\\music\\sound.mp3") +
                                    "\r\n请确认本程序放在CF游戏根目录下，并关闭游戏后重试。"};
    // Stage the copy, open it and the source again to compare them, move: each step fails
    // once, and the copy once reads back altered.
    const std::pair<int, bool> steps[] = {{2, false}, {3, false}, {4, false}, {5, false}, {3, true}};
    for (const auto& [failAt, lies] : steps) {
        for (const char* button : {installMusicButton, restoreMusicButton}) {
            fake.fileOps.calls = fake.fileOps.callsAfterFailure = 0;
            fake.fileOps.failAt = failAt;
            fake.fileOps.lies = lies;
            click(button, pathOf("new.mp3"));
            EXPECT_EQ(fake.messages, failure) << button << " failing step " << failAt;
            EXPECT_EQ(readFile(installed()), "launcher's own music") << button << " failing step " << failAt;
            EXPECT_FALSE(fs::exists(dir.path() / "TCLS" / "music" / "sound.mp3.vorlane-new"));
        }
    }
    fake.fileOps.failAt = 0;
    fs::remove_all(dir.path() / "TCLS");
    for (const char* button : {installMusicButton, restoreMusicButton}) {
        click(button, pathOf("new.mp3"));
        EXPECT_EQ(fake.messages, failure) << button;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "TCLS"));
}

TEST_F(LoadingMusic, PreviewFollowsTheToggleAndPlaysTheInstalledFile) {
    writeFile(dir.path() / "sound.mp3", "backup copy");
    Control& toggle = app.main.control(playMusicToggle);
    for (bool play : {true, false, true, false, true}) {
        click(playMusicToggle, pathOf("other.mp3"));
        EXPECT_EQ(toggle.checked(), play);
        ASSERT_FALSE(fake.music.empty());
        EXPECT_EQ(fake.music.back().play, play);
        if (play) {
            EXPECT_EQ(fake.music.back().path, pathOf("TCLS\\music\\sound.mp3"));
            EXPECT_EQ(fake.music.back().times, 1);
        }
    }
    // Install and restore leave a running preview alone.
    click(installMusicButton, pathOf("sound.mp3"));
    click(restoreMusicButton);
    EXPECT_EQ(fake.music.size(), 5u);
    EXPECT_TRUE(toggle.checked());
}

// Music that ends by itself shows "播 放" again without the handler running again, so the
// next click plays.
TEST_F(LoadingMusic, MusicThatEndsByItselfResetsTheToggle) {
    Control& toggle = app.main.control(playMusicToggle);
    click(playMusicToggle);
    ASSERT_TRUE(toggle.checked());
    fake.endMusic();
    EXPECT_FALSE(toggle.checked());
    EXPECT_EQ(fake.music.size(), 1u) << "nothing was stopped or played again";
    click(playMusicToggle);
    EXPECT_TRUE(toggle.checked());
    ASSERT_EQ(fake.music.size(), 2u);
    EXPECT_TRUE(fake.music.back().play);
}

TEST_F(LoadingMusic, ChooseTakesAConfirmedPathAndACancelKeepsTheBox) {
    Control& box = app.main.control(musicPathBox);
    Control& label = app.main.control(chooseMusicLink);
    fake.dialogChoice = pathOf("chosen song.mp3");
    app.main.fire(label, Event::LeftButtonDown);
    EXPECT_EQ(box.text(), pathOf("chosen song.mp3"));

    box.syncTextFromUser("typed by hand");
    fake.dialogChoice.reset();
    app.main.fire(label, Event::LeftButtonDown);
    EXPECT_EQ(box.text(), "typed by hand");
    EXPECT_EQ(fake.dialogsOpened, 2);
}

}  // namespace
}  // namespace vorlane
