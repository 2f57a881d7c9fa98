// Process entry of vorlane.exe.
#include <windows.h>
#include <commctrl.h>

#include "app/app.h"
#include "app/test_log.h"
#include "platform/win32/folder_claim.h"
#include "platform/win32/services.h"
#include "platform/win32/test_hooks_win32.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads a library: the program's folder is a game folder.
    vorlane::win32::loadLibrariesFromSystemFolderOnly();
    vorlane::win32::logPhase("entry");
    // Two copies would switch one folder through one journal: the second shows the first.
    const vorlane::win32::FolderClaim claim(vorlane::win32::programDirectory());
    if (!claim.first()) {
        claim.bringFirstToFront();
        return 0;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    vorlane::win32::Win32Platform platform;
#ifdef VORLANE_TEST_HOOKS
    return vorlane::runWithTestLog(platform);
#else
    return vorlane::runApplication(platform);
#endif
}
