#include <windows.h>

#include <gtest/gtest.h>

#include "support.h"
#include "win32/folder_claim.h"
#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

using testing::readWide;
using testing::TempFolder;
using testing::utf8;

std::wstring selfPath() {
    wchar_t path[32768];
    DWORD n = GetModuleFileNameW(nullptr, path, 32768);
    return std::wstring(path, n);
}

constexpr std::wstring_view kStays = L" --stays";

// Started as "Client.exe", this test program is the stand-in game client: it writes
// the command line it got, its working folder and the folder programDirectory names to
// "launch.txt" beside itself (UTF-8, one per line) and exits before any test runs.
// Started with --stays, it runs until it is ended, as a game does.
const bool standIn = [] {
    if (std::wstring_view(GetCommandLineW()).ends_with(kStays)) Sleep(INFINITE);
    std::wstring self = selfPath();
    std::size_t slash = self.find_last_of(L'\\');
    if (self.substr(slash + 1) != L"Client.exe") return false;
    wchar_t folder[32768];
    DWORD n = GetCurrentDirectoryW(32768, folder);
    testing::writeWide(self.substr(0, slash) + L"\\launch.txt",
                       utf8(GetCommandLineW()) + "\n" + utf8(std::wstring(folder, n)) + "\n" +
                           utf8(widen(programDirectory()).value_or(L"?")) + "\n");
    ExitProcess(0);
}();

struct Client {
    std::wstring folder;
    std::wstring exe;
};

Client installClient(const TempFolder& base) {
    Client client;
    client.folder = base.wide() + L"\\穿越火线 CF\\TCLS";
    CreateDirectoryW((base.wide() + L"\\穿越火线 CF").c_str(), nullptr);
    CreateDirectoryW(client.folder.c_str(), nullptr);
    client.exe = client.folder + L"\\Client.exe";
    CopyFileW(selfPath().c_str(), client.exe.c_str(), FALSE);
    return client;
}

TEST(RunProgram, StartsByQuotedFullPathInItsOwnFolder) {
    ASSERT_FALSE(standIn);
    TempFolder base;
    Client client = installClient(base);
    const std::string expected = utf8(L"\"" + client.exe + L"\"\n" + client.folder + L"\n" + client.folder + L"\n");
    EXPECT_EQ(runProgram(narrow(client.exe).value(), true), RunOutcome::Started);
    EXPECT_EQ(readWide(client.folder + L"\\launch.txt"), expected);

    DeleteFileW((client.folder + L"\\launch.txt").c_str());
    EXPECT_EQ(runProgram(narrow(client.exe).value(), false), RunOutcome::Started);
    std::string written;
    for (int i = 0; i < 200 && written != expected; ++i) {  // bounded: at most 20 s
        Sleep(100);
        written = readWide(client.folder + L"\\launch.txt");
    }
    EXPECT_EQ(written, expected);
}

TEST(RunProgram, ReportsAProgramThatCannotBeStarted) {
    TempFolder base;
    for (const Text& path : {base.text() + "\\TCLS\\Client.exe", base.text() + "\\Client\x81.exe", Text()}) {
        EXPECT_EQ(runProgram(path, false), RunOutcome::Failed) << path;
    }
}

// The system's answers for a client whose manifest asks for administrator rights (Wine
// runs every program elevated).
template <DWORD error>
BOOL WINAPI createFails(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                        LPSTARTUPINFOW, LPPROCESS_INFORMATION) {
    SetLastError(error);
    return FALSE;
}
template <DWORD error>
BOOL WINAPI shellFails(SHELLEXECUTEINFOW*) {
    SetLastError(error);
    return FALSE;
}

// Such a client is started as a double-click starts it, in its own folder; a prompt the
// player refuses is no failure, any other is.
TEST(RunProgram, AClientThatAsksForAdministratorRightsIsStartedAsADoubleClickWould) {
    TempFolder base;
    Client client = installClient(base);
    const std::wstring launched = client.folder + L"\\launch.txt";
    const std::pair<ProgramStarters, RunOutcome> cases[] = {
        {{createFails<kElevationRequired>, ShellExecuteExW}, RunOutcome::Started},
        {{createFails<kElevationRequired>, shellFails<ERROR_CANCELLED>}, RunOutcome::Declined},
        {{createFails<kElevationRequired>, shellFails<ERROR_FILE_NOT_FOUND>}, RunOutcome::Failed},
        {{createFails<ERROR_ACCESS_DENIED>, ShellExecuteExW}, RunOutcome::Failed}};
    for (const auto& [starters, expected] : cases) {
        DeleteFileW(launched.c_str());
        EXPECT_EQ(runProgram(narrow(client.exe).value(), true, starters), expected);
        const std::string written = readWide(launched);
        EXPECT_EQ(written.find("\n" + utf8(client.folder) + "\n") != std::string::npos, expected == RunOutcome::Started)
            << written;
    }
}

// A program that stays running, started from `exe` (a copy of this test program).
struct Running {
    OwnedHandle process;
    explicit Running(const std::wstring& exe) {
        std::wstring commandLine = L"\"" + exe + L"\"" + std::wstring(kStays);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &started)) {
            process.reset(started.hProcess);
            CloseHandle(started.hThread);
        }
    }
    ~Running() {
        TerminateProcess(process.get(), 0);
        WaitForSingleObject(process.get(), INFINITE);
    }
};

// A process the system will not let us look into: another user's, or a game an anti-cheat
// driver guards.
HANDLE WINAPI openRefused(DWORD, BOOL, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

HANDLE WINAPI snapshotRefused(DWORD, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

TEST(RunningPrograms, FindsAProgramOfTheFolderOrBelowButNotThisOne) {
    TempFolder base;
    const std::wstring game = base.wide() + L"\\穿越火线 CF";
    const Client client = installClient(base);
    const std::wstring self = selfPath();
    const Text gameText = narrow(game).value();
    const ProcessQueries guarded{.open = openRefused};
    {
        Running again(self);  // another instance of this program
        ASSERT_TRUE(again.process);
        EXPECT_EQ(runningProgramIn(gameText).path, std::nullopt);
        EXPECT_EQ(runningProgramIn(narrow(self.substr(0, self.find_last_of(L'\\'))).value()).path, std::nullopt);
        EXPECT_EQ(runningProgramIn(gameText, guarded).path, std::nullopt) << "no program of the game has its name";

        Running client1(client.exe);
        ASSERT_TRUE(client1.process);
        const Text found = narrow(client.exe).value();
        for (const Text& folder : {gameText, narrow(client.folder).value(), base.text() + "\\穿越火线 cf\\"}) {
            EXPECT_EQ(runningProgramIn(folder).path, found) << folder;
        }
        EXPECT_EQ(runningProgramIn(gameText, guarded).path, found) << "known by its name";
        for (const Text& folder : {base.text() + "\\穿越火线", gameText + "\\TCLS\\config", Text()}) {
            EXPECT_EQ(runningProgramIn(folder).path, std::nullopt) << folder;
        }
        EXPECT_TRUE(runningProgramIn(gameText, {.snapshot = snapshotRefused}).cannotTell);
        EXPECT_FALSE(runningProgramIn(gameText).cannotTell);
    }
    EXPECT_EQ(runningProgramIn(gameText).path, std::nullopt) << "the game has ended";
    EXPECT_EQ(runningProgramIn(gameText, guarded).path, std::nullopt) << "the game has ended";
}

// A game folder is claimed by one copy under every spelling of it, and no other folder is.
TEST(FolderClaim, OneCopyPerGameFolderUnderEverySpelling) {
    TempFolder base;
    const std::wstring game = base.wide() + L"\\穿越火线 CF";
    ASSERT_TRUE(CreateDirectoryW(game.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((base.wide() + L"\\穿越火线").c_str(), nullptr));
    wchar_t shortName[MAX_PATH];
    const DWORD n = GetShortPathNameW(game.c_str(), shortName, MAX_PATH);
    {
        const FolderClaim first(narrow(game).value());
        EXPECT_TRUE(first.first());
        for (const Text& spelling : {base.text() + "\\穿越火线 cf", narrow(game + L"\\").value(),
                                     narrow(std::wstring(shortName, n)).value()}) {
            EXPECT_FALSE(FolderClaim(spelling).first()) << spelling;
        }
        EXPECT_TRUE(FolderClaim(base.text() + "\\穿越火线").first());
    }
    EXPECT_TRUE(FolderClaim(narrow(game).value()).first()) << "the first copy has ended";
}

}  // namespace
}  // namespace vorlane::win32
