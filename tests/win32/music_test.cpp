#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/file_replace.h"
#include "support.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

using testing::folderEntries;
using testing::readWide;
using testing::TempFolder;


// Private copies of this process still in the temp folder.
std::size_t privateCopies() {
    wchar_t temp[MAX_PATH + 1];
    std::wstring folder(temp, GetTempPathW(MAX_PATH + 1, temp));
    std::wstring prefix = L"vorlane-music-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    std::size_t count = 0;
    for (const std::wstring& name : folderEntries(folder.substr(0, folder.size() - 1))) {
        if (name.starts_with(prefix)) ++count;
    }
    return count;
}

// What MCI says of our music ("playing", "stopped", a position), empty when none is open.
std::wstring musicStatus(const wchar_t* item) {
    wchar_t value[64] = L"";
    std::wstring command = std::wstring(L"status vorlane_music ") + item;
    if (mciSendStringW(command.c_str(), value, 64, nullptr) != 0) return {};
    return value;
}

// Handles the program's messages until `done` holds, for at most 20 s.
void dispatchUntil(const std::function<bool()>& done) {
    for (ULONGLONG end = GetTickCount64() + 20000; !done() && GetTickCount64() < end; Sleep(20)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

// Follows the playback, handling its notices, until it has stayed stopped for half a
// second or is closed; counts how often the position went back to the start.
int restartsUntilStopped() {
    int restarts = 0;
    long last = 0;
    bool restarting = false;
    ULONGLONG stoppedSince = 0;
    for (ULONGLONG end = GetTickCount64() + 20000; GetTickCount64() < end; Sleep(20)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        const std::wstring mode = musicStatus(L"mode");
        // A stopped device reports position 0, so positions count only while playing.
        if (mode != L"playing") {
            if (!stoppedSince) stoppedSince = GetTickCount64();
            if (mode != L"stopped" || GetTickCount64() - stoppedSince > 500) break;
            continue;
        }
        stoppedSince = 0;
        long position = std::wcstol(musicStatus(L"position").c_str(), nullptr, 10);
        // Back at the start and playing on: under load Wine may report one position out of
        // order, or 0 just before it stops, neither of which is a new play.
        if (position + 200 < last && position < 300) {
            restarting = true;
        } else if (restarting && position >= 300) {
            ++restarts;
            restarting = false;
        }
        last = position;
    }
    return restarts;
}

class Music : public ::testing::Test {
protected:
    void SetUp() override {
        const char* mp3 = std::getenv("VORLANE_TEST_MP3");
        if (!mp3) GTEST_SKIP() << "VORLANE_TEST_MP3 names the sample MP3";
        tone = readWide(widen(mp3).value());
        ASSERT_FALSE(tone.empty());
        path = folder.text() + "\\TCLS 音乐\\sound.mp3";
        CreateDirectoryW((folder.wide() + L"\\TCLS 音乐").c_str(), nullptr);
        ASSERT_TRUE(testing::writeWide(widen(path).value(), tone));
    }
    void TearDown() override { stopMusic(); }

    TempFolder folder;
    std::string tone;
    Text path;
    int ended = 0;  // times the music said it had ended
    std::function<void()> countEnd = [this] { ++ended; };
};

TEST_F(Music, PlaysInTheBackgroundWhileItsFileIsReplaced) {
    const bool device = waveOutGetNumDevs() > 0;
    std::printf("%s\n", device ? "with a sound device: the music plays" : "no sound device: nothing plays");
    playMusic(1, path, countEnd);
    EXPECT_EQ(musicStatus(L"mode"), device ? L"playing" : L"");
    EXPECT_EQ(privateCopies(), device ? 1u : 0u);

    // Installing another piece over the playing file, as the loading-music buttons do.
    Win32FileOps ops;
    EXPECT_TRUE(replaceFilesAtomically(ops, {{path, textToBytes("other music")}}).ok);
    EXPECT_EQ(readWide(widen(path).value()), "other music");

    playMusic(1, path, countEnd);  // not an MP3 any more: the previous music stops, nothing plays
    EXPECT_EQ(musicStatus(L"mode"), L"");
    EXPECT_EQ(privateCopies(), 0u);
}

// After the last play the music is closed and says it has ended, once.
TEST_F(Music, PlaysTheGivenNumberOfTimes) {
    if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no sound device";
    for (int times : {1, 2}) {
        SCOPED_TRACE(times);
        ended = 0;
        playMusic(times, path, countEnd);
        mciSendStringW(L"set vorlane_music time format milliseconds", nullptr, 0, nullptr);
        EXPECT_EQ(restartsUntilStopped(), times - 1);
        dispatchUntil([&] { return ended > 0; });
        EXPECT_EQ(ended, 1);
        EXPECT_EQ(musicStatus(L"mode"), L"");
        EXPECT_EQ(privateCopies(), 0u);
    }
}

TEST_F(Music, StopEndsThePlaybackAndIsHarmlessWhenNothingPlays) {
    stopMusic();
    int stoppedEnded = 0;
    for (int times : {1, 2}) {
        playMusic(times, path, [&] { ++stoppedEnded; });
        stopMusic();
        EXPECT_EQ(musicStatus(L"mode"), L"");
        EXPECT_EQ(privateCopies(), 0u);
        stopMusic();
    }
    // Music that was stopped never says it ended, not even once the next music is over.
    if (waveOutGetNumDevs() == 0) return;
    playMusic(1, path, countEnd);
    dispatchUntil([&] { return ended > 0; });
    EXPECT_EQ(stoppedEnded, 0);
    EXPECT_EQ(ended, 1);
}

TEST_F(Music, FilesThatCannotBePlayedPlayNothing) {
    ASSERT_TRUE(testing::writeWide(folder.wide() + L"\\empty.mp3", ""));
    std::vector<Text> unplayable = {folder.text() + "\\missing.mp3", folder.text() + "\\empty.mp3",
                                    folder.text() + "\\bad\x81.mp3", folder.text()};
    if (const char* fifo = std::getenv("VORLANE_TEST_FIFO")) unplayable.push_back(fifo);
    for (const Text& bad : unplayable) {
        SCOPED_TRACE(bad);
        playMusic(1, bad, countEnd);
        EXPECT_EQ(musicStatus(L"mode"), L"");
        EXPECT_EQ(privateCopies(), 0u);
    }
}

}  // namespace
}  // namespace vorlane::win32
