// The DLLs that the first frame does not need are delay-loaded (cmake/windows.cmake). These
// hooks load each from the system folder, never from the program's own, which is a game
// folder that may hold a DLL of the same name, and report one that cannot be had instead of
// letting the program crash. The load hook never answers "none": the helper would then try
// the bare name, which searches the program's folder.
#include <windows.h>
#include <delayimp.h>

#include <string>

#include "win32/services.h"
#include "win32/system_failure.h"

namespace vorlane::win32 {
namespace {

std::wstring ascii(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

// `function` null: the DLL itself could not be loaded.
[[noreturn]] void reportMissing(const char* dll, const char* function, DWORD error) {
    std::wstring what = L"提示：无法加载系统组件 " + ascii(dll);
    if (function) what += L" 的 " + ascii(function);
    reportSystemFailure(nullptr, what + L"。", error);
    ExitProcess(kExitSystemFailure);
}

FARPROC WINAPI loadFromSystemFolder(unsigned note, PDelayLoadInfo info) {
    if (note != dliNotePreLoadLibrary) return nullptr;
    if (HMODULE dll = loadSystemLibrary(ascii(info->szDll))) return reinterpret_cast<FARPROC>(dll);
    reportMissing(info->szDll, nullptr, GetLastError());
}

FARPROC WINAPI reportFailure(unsigned note, PDelayLoadInfo info) {
    const bool byName = note == dliFailGetProc && info->dlp.fImportByName;
    reportMissing(info->szDll, byName ? info->dlp.szProcName : nullptr, info->dwLastError);
}

}  // namespace
}  // namespace vorlane::win32

// The delay-load helper of MinGW-w64 reads these two hooks.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = vorlane::win32::loadFromSystemFolder;
PfnDliHook __pfnDliFailureHook2 = vorlane::win32::reportFailure;
}
