// Where libraries come from. The program's folder is a game folder, writable by the player
// and by whatever they download, so no library may ever be taken from it: neither one the
// program loads nor one the system loads by name on its behalf (the music's MCI driver,
// the open-file dialog's shell extensions, a DLL's own dependencies).
#include <windows.h>

#include "win32/services.h"

namespace vorlane::win32 {
namespace {

HMODULE kernel32() { return GetModuleHandleW(L"kernel32.dll"); }

// Windows 8 on, and Windows 7 with KB2533623, can be told where to look; the update adds
// these functions and the search flags together.
bool hasSearchFlags() {
    static const bool has = GetProcAddress(kernel32(), "AddDllDirectory") != nullptr;
    return has;
}

}  // namespace

void loadLibrariesFromSystemFolderOnly() {
    using SetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel32(), "SetDefaultDllDirectories")));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Without the update, the current folder at least leaves the search; the program's own
    // folder cannot.
    SetDllDirectoryW(L"");
}

HMODULE loadSystemLibrary(const std::wstring& file) {
    if (hasSearchFlags()) return LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    // By its full path, its own dependencies looked for beside it rather than beside the program.
    return LoadLibraryExW((std::wstring(folder, length) + L"\\" + file).c_str(), nullptr,
                          LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace vorlane::win32
