// The DLLs that the first frame does not need are delay-loaded (cmake/windows.cmake). These
// hooks load each from the system folder, never from the program's own, which is a game
// folder that may hold a DLL of the same name, and report one that cannot be had instead of
// letting the program crash.
#include <windows.h>
#include <delayimp.h>

#include <string>

#include "platform/win32/services.h"
#include "platform/win32/system_failure.h"

namespace vorlane::win32 {
namespace {

std::wstring ascii(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

FARPROC WINAPI loadFromSystemFolder(unsigned note, PDelayLoadInfo info) {
    if (note != dliNotePreLoadLibrary) return nullptr;
    return reinterpret_cast<FARPROC>(loadSystemLibrary(ascii(info->szDll)));
}

FARPROC WINAPI reportMissing(unsigned note, PDelayLoadInfo info) {
    std::wstring what = L"提示：无法加载系统组件 " + ascii(info->szDll);
    if (note == dliFailGetProc && info->dlp.fImportByName) what += L" 的 " + ascii(info->dlp.szProcName);
    reportSystemFailure(nullptr, what + L"。", info->dwLastError);
    ExitProcess(kExitSystemFailure);
}

}  // namespace

HMODULE loadSystemLibrary(const std::wstring& file) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + file).c_str());
}

}  // namespace vorlane::win32

// The delay-load helper of MinGW-w64 reads these two hooks.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = vorlane::win32::loadFromSystemFolder;
PfnDliHook __pfnDliFailureHook2 = vorlane::win32::reportMissing;
}
