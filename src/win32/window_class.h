#pragma once
// The program's window classes, registered on first use.
#include <windows.h>

#include <functional>

#include "win32/handle.h"

namespace vorlane::win32 {

// 0 once the class is registered (now or before), else the system's error.
DWORD registerWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr, HCURSOR cursor = nullptr);

// A message-only window of a class of its own: a way back to the UI thread. Null, with the
// system's error, when it cannot be made.
HWND createMessageWindow(const wchar_t* className, WNDPROC procedure);

// The same, made when first asked for, so that one nothing has used yet costs the start-up
// nothing; `receive` gets its messages and says whether it took them. None comes once this
// has ended.
class MessageWindow {
public:
    using Receive = std::function<bool(UINT msg, WPARAM wp)>;
    MessageWindow(const wchar_t* className, Receive receive);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Null when it cannot be made.
    HWND get();

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    const wchar_t* className_;
    Receive receive_;
    OwnedWindow window_;
};

}  // namespace vorlane::win32
