// A stand-in for the game client: records how it was started and exits.
// Appends one UTF-8 JSON line {"command_line":...,"cwd":...,"exe":...} to client_started.log
// in the folder of its own exe, wherever it was started from.
#include <windows.h>

#include <cstdio>
#include <string>

#include "json_text.h"

namespace {

std::wstring ownPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring currentDirectory() {
    std::wstring dir(32768, L'\0');
    dir.resize(GetCurrentDirectoryW(static_cast<DWORD>(dir.size()), dir.data()));
    return dir;
}

}  // namespace

int wmain() {
    std::wstring exe = ownPath();
    std::wstring log = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"client_started.log";
    std::string line = "{\"command_line\":" + json(GetCommandLineW()) + ",\"cwd\":" + json(currentDirectory()) +
                       ",\"exe\":" + json(exe) + "}\n";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
