// Starting another program. The full path is the application name and, quoted, the
// command line, so a folder name holding spaces can never start a different program.
#include <windows.h>

#include "platform/win32/handle.h"
#include "platform/win32/services.h"

namespace vorlane::win32 {

bool runProgram(const Text& programPath, bool wait) {
    auto application = systemPath(programPath);
    if (!application || application->find(L'"') != std::wstring::npos) return false;
    // Started in its own folder, as a shortcut to it would be.
    std::wstring folder = *application;
    std::size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos) return false;
    folder.resize(slash + (slash > 0 && folder[slash - 1] == L':' ? 1 : 0));

    std::wstring commandLine = L"\"" + *application + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(application->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &started)) {
        return false;
    }
    OwnedHandle process(started.hProcess);
    OwnedHandle thread(started.hThread);
    if (wait) return WaitForSingleObject(process.get(), INFINITE) == WAIT_OBJECT_0;
    return true;
}

}  // namespace vorlane::win32
