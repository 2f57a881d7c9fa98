// Process entry of vorlane.exe: the window, or with arguments one switch without it.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>

#include "app/command_line.h"
#include "app/run.h"
#include "app/test_log.h"
#include "win32/command_line_win32.h"
#include "win32/folder_claim.h"
#include "win32/services.h"
#include "win32/test_hooks_win32.h"
#include "win32/win32_platform.h"

namespace vorlane::win32 {
namespace {

// The test build records what the program shows; the shipped one only runs.
int run(Win32Platform& platform, const std::function<int(Platform&)>& work) {
#ifdef VORLANE_TEST_HOOKS
    return runWithTestLog(platform, work);
#else
    return work(platform);
#endif
}

// A switch is refused while another copy holds the folder, whose window comes forward. A
// command line that is not understood claims and touches nothing.
int runCommand(const CommandLine& command) {
    std::optional<FolderClaim> claim;
    if (command.kind == CommandLine::Kind::Switch) {
        claim.emplace(programDirectory());
        if (!claim->first()) claim->bringFirstToFront();
    }
    Win32Platform platform;
    const bool anotherCopyRuns = claim && !claim->first();
    return run(platform, [&](Platform& p) { return runCommandLine(p, command, anotherCopyRuns); });
}

}  // namespace
}  // namespace vorlane::win32

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    using namespace vorlane;
    // Before anything loads a library: the program's folder is a game folder.
    win32::loadLibrariesFromSystemFolderOnly();
    win32::logPhase("entry");
    // Anything after the program's name: a shortcut or a script asks for one switch.
    if (arguments && *arguments) return win32::runCommand(parseCommandLine(win32::splitCommandLine(GetCommandLineW())));
    // Two copies would switch one folder through one journal: the second shows the first.
    const win32::FolderClaim claim(win32::programDirectory());
    if (!claim.first()) {
        claim.bringFirstToFront();
        return 0;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    win32::Win32Platform platform;
    return win32::run(platform, runApplication);
}
