// A DLL planted in a game folder under a system library's name: once loaded, it leaves
// "<its own file name>.loaded" beside itself.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    wchar_t marker[MAX_PATH + 8];
    const DWORD n = reason == DLL_PROCESS_ATTACH ? GetModuleFileNameW(self, marker, MAX_PATH) : 0;
    if (n == 0 || n >= MAX_PATH) return TRUE;
    lstrcpyW(marker + n, L".loaded");
    CloseHandle(CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return TRUE;
}
