#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/file_copy.h"
#include "platform/file_replace.h"
#include "support.h"
#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

using testing::folderEntries;
using testing::readWide;
using testing::TempFolder;
using testing::writeWide;

TEST(Files, ReadAndWriteUnderChineseAndSpacedNames) {
    TempFolder folder;
    Win32FileOps ops;
    for (const char* name : {"\\背景 音乐.mp3", "\\plain.txt", "\\空文件"}) {
        const Text path = folder.text() + name;
        const std::string content = std::string(name) == "\\空文件" ? "" : std::string("内容 \r\n\0x", 10);
        SCOPED_TRACE(content.size());
        EXPECT_FALSE(readFile(path).ok);
        ASSERT_TRUE(ops.writeNew(path, textToBytes(content)));
        EXPECT_TRUE(ops.exists(path));
        FileRead read = readFile(path);
        EXPECT_TRUE(read.ok);
        EXPECT_EQ(bytesToText(read.bytes), content);
        EXPECT_EQ(readWide(widen(path).value()), content);
        EXPECT_TRUE(ops.remove(path));
        EXPECT_FALSE(ops.exists(path));
    }
    EXPECT_FALSE(readFile(folder.text()).ok) << "a folder is not a file";
}

// What names no regular file is refused at once: a device is never opened, and a device, a
// pipe or a folder found on opening is never read. Whole files are read up to 64 MiB.
TEST(Files, OnlyRegularFilesAreReadOrCopiedAndWholeOnlyUpTo64Mebibytes) {
    TempFolder folder;
    const std::string pipe = "vorlane-test-" + std::to_string(GetCurrentProcessId());
    OwnedFile server(CreateNamedPipeW(widen(R"(\\.\pipe\)" + pipe)->c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, nullptr));
    ASSERT_TRUE(server);
    std::vector<Text> refused = {R"(\\.\pipe\)" + pipe, "//./pipe/" + pipe, "NUL", "con", "COM1", "lpt2.mp3",
                                 folder.text() + "\\nul.mp3", folder.text() + "\\COM3 .txt", R"(\\?\GLOBALROOT\Device\Null)",
                                 R"(\??\C:\windows\win.ini)", R"(Z:\dev\zero)", folder.text(), folder.text() + "\\a\t.mp3",
                                 folder.text() + "\\big.png"};
    // A FIFO that a writer holds open without writing (tests/win32/run.sh): a read would wait.
    if (const char* fifo = std::getenv("VORLANE_TEST_FIFO")) refused.push_back(fifo);
    for (LONGLONG size : {64ll << 20, (64ll << 20) + 1}) {  // one just small enough, then big.png
        OwnedFile file(CreateFileW(widen(folder.text() + "\\big.png")->c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(SetFilePointerEx(file.get(), LARGE_INTEGER{.QuadPart = size}, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(file.get()));
        file.reset();
        if (size == 64ll << 20) {
            EXPECT_EQ(readFile(folder.text() + "\\big.png").bytes.size(), 64u << 20);
        }
    }
    const Text target = folder.text() + "\\sound.mp3";
    ASSERT_TRUE(writeWide(widen(target).value(), "old"));
    Win32CopyOps ops;
    for (const Text& path : refused) {
        EXPECT_FALSE(readFile(path).ok) << path;
        if (!path.ends_with("big.png")) {  // copied a piece at a time, whatever its size
            EXPECT_EQ(copyFileAtomically(ops, path, target), CopyOutcome::SourceUnusable) << path;
        }
    }
    EXPECT_EQ(readWide(widen(target).value()), "old");
    EXPECT_EQ(folderEntries(folder.wide()), (std::vector<std::wstring>{L"big.png", L"sound.mp3"}));
}

TEST(Files, PathsLongerThanMaxPathWork) {
    TempFolder folder;
    const std::wstring level(80, L'深');
    std::wstring deep = LR"(\\?\)" + folder.wide();
    for (int i = 0; i < 4; ++i) {
        deep += L"\\" + level;
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    const Text deepText = narrow(deep.substr(4)).value();
    const Text target = deepText + "\\mmog_data.xml";
    ASSERT_GT(widen(target)->size(), 300u);
    Win32FileOps ops;
    ASSERT_TRUE(ops.writeNew(target, textToBytes("old")));
    ReplaceOutcome outcome = replaceFilesAtomically(ops, {{target, textToBytes("new")}});
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(bytesToText(readFile(target).bytes), "new");
    EXPECT_EQ(folderEntries(deep), std::vector<std::wstring>{L"mmog_data.xml"});
}

TEST(Files, NameOutsideTheTextCodePageIsNeverReplacedByAnother) {
    if (IsValidCodePage(54936)) GTEST_SKIP() << "every character converts with GB18030";
    TempFolder folder;
    Win32FileOps ops;
    const Text path = folder.text() + "\\笑\x94\x39\xFC\x36.txt";
    EXPECT_FALSE(ops.writeNew(path, textToBytes("x")));
    EXPECT_FALSE(ops.exists(path));
    EXPECT_FALSE(readFile(path).ok);
    EXPECT_FALSE(replaceFilesAtomically(ops, {{path, textToBytes("x")}}).ok);
    EXPECT_TRUE(folderEntries(folder.wide()).empty());
}

// Three launcher files, with and without a journal; each fault hits the middle or the last one.
TEST(ReplaceFilesAtomically, AnyFailureLeavesEveryFileAsItWas) {
    enum class Fault { ReadOnly, HeldOpen, StagingBlocked, MissingFolder };
    for (Fault fault : {Fault::ReadOnly, Fault::HeldOpen, Fault::StagingBlocked, Fault::MissingFolder}) {
        for (int at : {1, 2, 11, 12}) {  // the victim's index, plus 10 for a journalled replacement
            SCOPED_TRACE(static_cast<int>(fault) * 100 + at);
            const int victim = at % 10;
            TempFolder folder;
            const JournalPlace journal{at > 10 ? folder.text() + "\\switch.vorlane-journal" : Text(), folder.text()};
            const std::wstring sub = folder.wide() + L"\\config 配置";
            ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
            std::vector<FileWrite> files;
            std::vector<std::wstring> wide;
            for (const char* name : {"\\config 配置\\dirserver.xml", "\\config 配置\\服务器.ini", "\\mmog_data.xml"}) {
                files.push_back({folder.text() + name, textToBytes(std::string("new ") + name)});
                wide.push_back(widen(files.back().path).value());
                ASSERT_TRUE(writeWide(wide.back(), "old"));
            }
            OwnedFile holder;
            switch (fault) {
                case Fault::ReadOnly:
                    SetFileAttributesW(wide[victim].c_str(), FILE_ATTRIBUTE_READONLY);
                    break;
                case Fault::HeldOpen:
                    holder.reset(CreateFileW(wide[victim].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
                    ASSERT_TRUE(holder);
                    break;
                case Fault::StagingBlocked:  // the new bytes cannot be written beside the target
                    ASSERT_TRUE(CreateDirectoryW(widen(stagedName(files[victim].path))->c_str(), nullptr));
                    break;
                case Fault::MissingFolder:
                    files[victim].path = folder.text() + "\\没有\\file.xml";
                    break;
            }
            const auto subBefore = folderEntries(sub);
            const auto topBefore = folderEntries(folder.wide());
            Win32FileOps ops;
            ReplaceOutcome outcome = replaceFilesAtomically(ops, files, journal);
            EXPECT_FALSE(outcome.ok);
            EXPECT_EQ(outcome.failedPath, files[victim].path);
            holder.reset();
            for (const std::wstring& path : wide) EXPECT_EQ(readWide(path), "old");
            EXPECT_EQ(folderEntries(sub), subBefore) << "no side file is left";
            EXPECT_EQ(folderEntries(folder.wide()), topBefore);
        }
    }
}

}  // namespace
}  // namespace vorlane::win32
