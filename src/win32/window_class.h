#pragma once
// The program's window classes, registered on first use.
#include <windows.h>

namespace vorlane::win32 {

// 0 once the class is registered (now or before), else the system's error.
DWORD registerWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr, HCURSOR cursor = nullptr);

// A message-only window of a class of its own: a way back to the UI thread. Null, with the
// system's error, when it cannot be made.
HWND createMessageWindow(const wchar_t* className, WNDPROC procedure);

}  // namespace vorlane::win32
