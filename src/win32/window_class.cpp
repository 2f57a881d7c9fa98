#include "win32/window_class.h"

namespace vorlane::win32 {

DWORD registerWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon, HCURSOR cursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.lpszClassName = name;
    if (RegisterClassExW(&wc)) return 0;
    const DWORD error = GetLastError();
    return error == ERROR_CLASS_ALREADY_EXISTS ? 0 : error;
}

HWND createMessageWindow(const wchar_t* className, WNDPROC procedure) {
    if (const DWORD error = registerWindowClass(className, procedure)) {
        SetLastError(error);
        return nullptr;
    }
    return CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

}  // namespace vorlane::win32
