// Starting another program. The full path is the application name and, quoted, the
// command line, so a folder name holding spaces can never start a different program.
#include <windows.h>
#include <shellapi.h>

#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

RunOutcome ended(OwnedHandle process, bool wait) {
    if (!wait) return RunOutcome::Started;
    return WaitForSingleObject(process.get(), INFINITE) == WAIT_OBJECT_0 ? RunOutcome::Started : RunOutcome::Failed;
}

// As a double-click starts it: the system asks the player for administrator rights first.
RunOutcome startElevated(const std::wstring& application, const std::wstring& folder, bool wait,
                         decltype(&ShellExecuteExW) shellExecute) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // the failure is ours to tell
    info.lpVerb = L"open";
    info.lpFile = application.c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!shellExecute(&info)) return GetLastError() == ERROR_CANCELLED ? RunOutcome::Declined : RunOutcome::Failed;
    return ended(OwnedHandle(info.hProcess), wait && info.hProcess);
}

}  // namespace

RunOutcome runProgram(const Text& programPath, bool wait, const ProgramStarters& starters) {
    auto application = systemPath(programPath);
    if (!application || application->find(L'"') != std::wstring::npos) return RunOutcome::Failed;
    // Started in its own folder, as a shortcut to it would be.
    std::wstring folder = *application;
    std::size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos) return RunOutcome::Failed;
    folder.resize(slash + (slash > 0 && folder[slash - 1] == L':' ? 1 : 0));

    std::wstring commandLine = L"\"" + *application + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!starters.createProcess(application->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder.c_str(), &startup, &started)) {
        if (GetLastError() != kElevationRequired) return RunOutcome::Failed;
        return startElevated(*application, folder, wait, starters.shellExecute);
    }
    OwnedHandle thread(started.hThread);
    return ended(OwnedHandle(started.hProcess), wait);
}

}  // namespace vorlane::win32
