// Crash consistency of a switch. Starts the helper that replaces the four launcher files
// over and over, kills it with TerminateProcess at a random moment 5-200 ms later, and
// checks that every file holds exactly its old or exactly its new bytes. Then it runs the
// helper's recovery, as the program does at its next start, and checks that the four
// files are one whole set, old or new, with no side file left. Every other recovery reaches
// the folder under another spelling: another case, or (when given) another drive letter for
// the temp folder. After the last kill an ordinary replacement must leave the new bytes and
// no side files.
//   crash_campaign.exe <replace_loop.exe> <kills> <seed> [<the temp folder on another drive>]
// Reads and writes the files with plain Win32 calls, not with the code under test. A helper
// that the system cannot start is tried again and counted apart: only the files decide.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "switch_files.h"

namespace {

using vorlane::crash::kFiles;
using vorlane::crash::kRelativePaths;
using vorlane::crash::Set;

std::string utf8(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool writeAll(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD wrote = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) && wrote == bytes.size();
    return CloseHandle(file) && ok;
}

// False when the file is missing or unreadable.
bool readAll(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return ok;
}

std::vector<std::wstring> entries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool endsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct SideFiles {
    int staged = 0;
    int kept = 0;
    int journals = 0;
    int all() const { return staged + kept + journals; }
};

SideFiles sideFiles(const std::wstring& game) {
    SideFiles side;
    for (const wchar_t* sub : {L"\\TCLS", L"\\TCLS\\config"}) {
        for (const std::wstring& name : entries(game + sub)) {
            if (endsWith(name, L".vorlane-new")) ++side.staged;
            if (endsWith(name, L".vorlane-old")) ++side.kept;
            if (endsWith(name, L".vorlane-journal")) ++side.journals;
        }
    }
    return side;
}

// How many files hold the old and the new set; every problem is printed.
struct Census {
    int oldFiles = 0;
    int newFiles = 0;
    bool sound() const { return oldFiles + newFiles == kFiles; }
    bool whole() const { return oldFiles == kFiles || newFiles == kFiles; }
};

Census census(const std::wstring& game) {
    Census c;
    for (int i = 0; i < kFiles; ++i) {
        std::string bytes;
        const std::wstring path = game + L"\\" + kRelativePaths[i];
        if (!readAll(path, bytes)) {
            std::printf("  %s is missing or unreadable\n", utf8(kRelativePaths[i]).c_str());
        } else if (bytes == vorlane::crash::contents(i, Set::Old)) {
            ++c.oldFiles;
        } else if (bytes == vorlane::crash::contents(i, Set::New)) {
            ++c.newFiles;
        } else {
            std::printf("  %s holds %zu bytes that are neither its old (%zu) nor its new (%zu) bytes\n",
                        utf8(kRelativePaths[i]).c_str(), bytes.size(), vorlane::crash::contents(i, Set::Old).size(),
                        vorlane::crash::contents(i, Set::New).size());
        }
    }
    return c;
}

std::wstring quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

HANDLE start(const std::wstring& helper, const std::wstring& arguments);

// Starts of the helper that the system refused at first (Wine under load: error 1359).
int refusedStarts = 0;
constexpr int kStartAttempts = 5;

constexpr long kNotStarted = -2;

// Runs the helper to its end; its exit code, -1 when it did not end within a minute, or
// kNotStarted.
long runToEnd(const std::wstring& helper, const std::wstring& arguments) {
    HANDLE process = start(helper, arguments);
    if (!process) {
        std::printf("  the system would not start the helper (error %lu)\n", GetLastError());
        return kNotStarted;
    }
    DWORD code = 1;
    const bool ended = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code);
    if (!ended) {
        std::printf("  the helper did not end within a minute\n");
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    return ended ? static_cast<long>(code) : -1;
}

HANDLE start(const std::wstring& helper, const std::wstring& arguments) {
    for (int attempt = 1;; ++attempt) {
        std::wstring commandLine = quoted(helper) + L" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(helper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            return process.hProcess;
        }
        if (attempt == kStartAttempts) return nullptr;
        ++refusedStarts;
        Sleep(200 * attempt);
    }
}

// The path with every ASCII letter in the other case: the same folder on Windows.
std::wstring otherCase(std::wstring path) {
    for (wchar_t& c : path) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - 32);
        } else if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c + 32);
        }
    }
    return path;
}

void removeTree(const std::wstring& folder) {
    for (const std::wstring& name : entries(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            removeTree(path);
        } else {
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: crash_campaign <replace_loop.exe> <kills> <seed>\n");
        return 2;
    }
    const std::wstring helper = argv[1];
    const int kills = _wtoi(argv[2]);
    const unsigned seed = static_cast<unsigned>(std::wcstoul(argv[3], nullptr, 10));
    const std::wstring otherDrive = argc > 4 ? argv[4] : L"";
    const ULONGLONG began = GetTickCount64();

    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring name = L"vorlane 崩溃 " + std::to_wstring(GetCurrentProcessId());
    const std::wstring game = std::wstring(temp, n) + name;
    // What the next start may be given: the same folder under another case or drive letter.
    std::vector<std::wstring> spellings = {otherCase(game)};
    if (!otherDrive.empty()) spellings.push_back(otherDrive + L"\\" + name);
    removeTree(game);  // kept by an earlier failed run under the same process number
    CreateDirectoryW(game.c_str(), nullptr);
    CreateDirectoryW((game + L"\\TCLS").c_str(), nullptr);
    CreateDirectoryW((game + L"\\TCLS\\config").c_str(), nullptr);
    for (int i = 0; i < kFiles; ++i) {
        if (!writeAll(game + L"\\" + kRelativePaths[i], vorlane::crash::contents(i, Set::Old))) {
            std::printf("cannot prepare the game folder %s\n", utf8(game).c_str());
            return 1;
        }
    }

    const std::wstring eventName = L"Local\\vorlane-crash-" + std::to_wstring(GetCurrentProcessId());
    HANDLE started = CreateEventW(nullptr, FALSE, FALSE, eventName.c_str());
    std::mt19937 random(seed);
    std::uniform_int_distribution<DWORD> delay(5, 200);
    int allOld = 0, allNew = 0, split = 0, withStaged = 0, withKept = 0, withJournal = 0, respelt = 0;
    int unstarted = 0;  // rounds the helper could not be started for, or did not start replacing in

    for (int kill = 1; kill <= kills; ++kill) {
        HANDLE process = start(helper, quoted(game) + L" loop " + eventName);
        if (!process) {
            std::printf("kill %d: the system would not start the helper (error %lu)\n", kill, GetLastError());
            if (++unstarted > kills / 10) return 1;
            continue;
        }
        const HANDLE waits[] = {started, process};
        if (WaitForMultipleObjects(2, waits, FALSE, 30000) != WAIT_OBJECT_0) {
            std::printf("kill %d: the helper did not start replacing\n", kill);
            TerminateProcess(process, 1);
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
            if (++unstarted > kills / 10) return 1;
            continue;
        }
        const DWORD ms = delay(random);
        Sleep(ms);
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code)) {
            std::printf("kill %d: the helper stopped by itself with code %lu (a replacement failed)\n", kill, code);
            return 1;
        }
        TerminateProcess(process, 99);
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);

        const Census killed = census(game);
        if (!killed.sound()) {
            std::printf("kill %d, %lu ms after the start, broke a file; the folder is kept: %s\n", kill, ms,
                        utf8(game).c_str());
            return 1;
        }
        const SideFiles side = sideFiles(game);
        split += !killed.whole();
        withStaged += side.staged > 0;
        withKept += side.kept > 0;
        withJournal += side.journals > 0;

        const std::wstring& spelling = kill % 2 ? game : spellings[static_cast<std::size_t>(kill / 2) % spellings.size()];
        respelt += spelling != game;
        const long recovered = runToEnd(helper, quoted(spelling) + L" recover");
        if (recovered == kNotStarted) {  // the next round's replacement recovers first
            if (++unstarted > kills / 10) return 1;
            continue;
        }
        const Census after = census(game);
        const SideFiles left = sideFiles(game);
        if (recovered != 0 || !after.whole() || left.all() > 0) {
            std::printf("kill %d, %lu ms after the start: the recovery from %s (exit %ld) left %d of %d files old, "
                        "%d new and %d side files; the folder is kept: %s\n",
                        kill, ms, utf8(spelling).c_str(), recovered, after.oldFiles, kFiles, after.newFiles,
                        left.all(), utf8(game).c_str());
            return 1;
        }
        allOld += after.oldFiles == kFiles;
        allNew += after.newFiles == kFiles;
    }

    const long last = runToEnd(helper, quoted(game) + L" once");
    const Census after = census(game);
    const SideFiles leftover = sideFiles(game);
    if (last != 0 || after.newFiles != kFiles || leftover.all() > 0) {
        std::printf("the final replacement (exit %ld) left %d of %d files new and %d side files; the folder is kept: "
                    "%s\n",
                    last, after.newFiles, kFiles, leftover.all(), utf8(game).c_str());
        return 1;
    }
    removeTree(game);

    std::printf("%d kills (seed %u), every set whole after recovery, 0 side files: %d all old, %d all new\n",
                kills - unstarted, seed, allOld, allNew);
    std::printf("%d recoveries under another spelling of the folder (%s); the helper was refused %d times at "
                "first and %d rounds were lost to it\n",
                respelt, utf8(spellings.back()).c_str(), refusedStarts, unstarted);
    std::printf("right after a kill: %d sets half switched, staged copies %d times, kept copies %d times, "
                "a journal %d times\n",
                split, withStaged, withKept, withJournal);
    std::printf("%.1f s in all\n", static_cast<double>(GetTickCount64() - began) / 1000.0);
    return 0;
}
