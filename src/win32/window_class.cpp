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

MessageWindow::MessageWindow(const wchar_t* className, Receive receive)
    : className_(className), receive_(std::move(receive)) {}

MessageWindow::~MessageWindow() {
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

HWND MessageWindow::get() {
    if (!window_) {
        window_.reset(createMessageWindow(className_, &MessageWindow::procedure));
        if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return window_.get();
}

LRESULT CALLBACK MessageWindow::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->receive_(msg, wp)) return 0;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace vorlane::win32
