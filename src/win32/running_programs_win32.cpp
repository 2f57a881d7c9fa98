// Finding a running program by where its file lies: a process snapshot, and each
// process's image path (readable even for most programs that run elevated). A process of
// another user, or one an anti-cheat driver guards, cannot be opened: it is known by name.
#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

// One spelling per file for comparing: no \\?\ prefix, long names rather than 8.3 ones.
std::wstring comparable(std::wstring path) {
    if (path.starts_with(LR"(\\?\)") && path.size() > 5 && path[5] == L':') path.erase(0, 4);
    DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
    std::wstring longPath(n, L'\0');
    if (n > 0 && (n = GetLongPathNameW(path.c_str(), longPath.data(), n)) > 0 && n < longPath.size()) {
        longPath.resize(n);
        return longPath;
    }
    return path;
}

bool sameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                                        static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool isWithin(std::wstring_view path, std::wstring_view folder) {
    return path.size() > folder.size() + 1 && path[folder.size()] == L'\\' &&
           sameIgnoringCase(path.substr(0, folder.size()), folder);
}

std::wstring imagePath(HANDLE process) {
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &size)) return {};
    path.resize(size);
    return path;
}

std::wstring ownImagePath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return comparable(path);
}

std::wstring fileName(std::wstring_view path) { return std::wstring(path.substr(path.find_last_of(L'\\') + 1)); }

// The programs directly in the game folder and in its TCLS folder: a game folder holds tens
// of thousands of files, so nothing deeper is walked.
std::vector<std::wstring> programsOf(const std::wstring& game) {
    std::vector<std::wstring> programs;
    for (const std::wstring& folder : {game, game + L"\\TCLS"}) {
        WIN32_FIND_DATAW found;
        OwnedFind search(FindFirstFileW((folder + L"\\*.exe").c_str(), &found));
        for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &found) != FALSE) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) programs.push_back(folder + L"\\" + found.cFileName);
        }
    }
    return programs;
}

}  // namespace

RunningProgram runningProgramIn(const Text& folder, const ProcessQueries& system) {
    auto wideFolder = widen(folder);
    if (!wideFolder || wideFolder->empty()) return {};
    std::wstring within = comparable(*wideFolder);
    if (within.ends_with(L'\\')) within.pop_back();
    const std::wstring self = ownImagePath();

    OwnedFile snapshot(system.snapshot(TH32CS_SNAPPROCESS, 0));  // INVALID_HANDLE_VALUE on failure
    if (!snapshot) return {.cannotTell = true};
    std::optional<std::vector<std::wstring>> programs;  // listed once a process cannot be opened
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) continue;
        OwnedHandle process(system.open(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        const std::wstring path = process ? imagePath(process.get()) : std::wstring();
        if (!path.empty()) {
            const std::wstring program = comparable(path);
            // Another copy of this program in the same place is no game.
            if (isWithin(program, within) && !sameIgnoringCase(program, self)) return {.path = narrowKeepingMarks(path)};
            continue;
        }
        if (!programs) programs = programsOf(within);
        for (const std::wstring& candidate : *programs) {
            const std::wstring name = fileName(candidate);
            if (sameIgnoringCase(name, entry.szExeFile) && !sameIgnoringCase(name, fileName(self))) {
                return {.path = narrowKeepingMarks(candidate)};
            }
        }
    }
    return {};
}

}  // namespace vorlane::win32
