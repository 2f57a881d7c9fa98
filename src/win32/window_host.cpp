#include "win32/window_host.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/hit_test.h"
#include "win32/services.h"
#include "win32/system_failure.h"
#include "win32/test_hooks_win32.h"
#include "win32/window_class.h"

namespace vorlane::win32 {
namespace {

std::wstring wideOrEmpty(const Text& t) { return widen(t).value_or(std::wstring()); }

RECT toRECT(const Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }
Rect fromRECT(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// The DPI Windows gives the window: GetDpiForWindow where the system has it (Windows 10
// 1607 on), else the system DPI, which is what earlier systems scale by.
int windowDpi(HWND hwnd) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow) {
        if (UINT dpi = forWindow(hwnd)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

WindowHost::WindowHost(Window& model, HostContext& context, HWND owner, bool endsProgram)
    : model_(model), context_(context) {
    context_.hosts.push_back(this);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    creationError_ = registerWindowClass(kWindowClass, DefWindowProcW, LoadIconW(instance, MAKEINTRESOURCEW(1)),
                                         LoadCursorW(nullptr, IDC_ARROW));
    if (creationError_ != 0) return;
    const WindowSpec& spec = model.spec();
    DWORD exStyle = spec.showInTaskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU;
    // Made hidden at the primary screen's corner, where it takes that screen's DPI, and
    // then placed at its size in device pixels.
    hwnd_ = CreateWindowExW(exStyle, kWindowClass, wideOrEmpty(spec.title).c_str(), style, 0, 0, 1, 1, owner,
                            nullptr, instance, nullptr);
    if (!hwnd_) {
        creationError_ = GetLastError();
        return;
    }
    scale_ = Scale(windowDpi(hwnd_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowHost::procedure));
    placeWindow();
    if (!focus_.createStops()) {
        creationError_ = GetLastError();
        destroy();
        return;
    }
    endsProgram_ = endsProgram;
    model_.setObserver(this);
}

void WindowHost::placeWindow() {
    Rect r = scale_.windowRect(model_.bounds());
    if (model_.spec().centred) {
        r.left = (GetSystemMetrics(SM_CXSCREEN) - r.width) / 2;
        r.top = (GetSystemMetrics(SM_CYSCREEN) - r.height) / 2;
    }
    // WM_MOVE and WM_SIZE bring the model's bounds in step.
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowHost::~WindowHost() {
    model_.setObserver(nullptr);
    endsProgram_ = false;  // the program is past its loop, or the window is already gone
    destroy();
    std::erase(context_.hosts, this);
}

void WindowHost::show() {
    ShowWindow(hwnd_, SW_SHOW);
    // The whole first frame at once, the native controls' part of it included.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
#ifdef VORLANE_TEST_HOOKS
    if (endsProgram_) logSinceProcessCreation("first_paint_ms");
#endif
}

void WindowHost::destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool WindowHost::dialogMessage(MSG& msg) { return focus_.translateKey(msg) || IsDialogMessageW(hwnd_, &msg); }

void WindowHost::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    PointerState state = pointer_;
    state.focused = focus_.focusRing();
    buffer_.paint(dc, fromRECT(ps.rcPaint), model_, state, scale_);
    EndPaint(hwnd_, &ps);
}

// A radio button shows the part of the window picture under it, where the painter has
// drawn it in the skin, instead of the system's look.
LRESULT WindowHost::drawNative(const NMCUSTOMDRAW& draw) {
    const Control* control = natives_.controlOf(draw.hdr.hwndFrom);
    if (!control || control->kind() != ControlKind::RadioButton) return CDRF_DODEFAULT;
    if (draw.dwDrawStage != CDDS_PREERASE && draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    PointerState state = pointer_;
    // The button says whether it has the focus as it draws: the focus may be moving.
    state.focused = (draw.uItemState & CDIS_FOCUS) && focus_.cuesShown() ? control : nullptr;
    buffer_.paintAtOrigin(draw.hdc, scale_.rect(control->windowRect()), model_, state, scale_);
    return CDRF_SKIPDEFAULT;
}

void WindowHost::invalidate(const Control& c) {
    if (!hwnd_) return;
    RECT rc = toRECT(scale_.rect(c.windowRect()));
    InvalidateRect(hwnd_, &rc, FALSE);
}

void WindowHost::fire(Control& c, Event e) {
    runHandler(context_, hwnd_, [&] { model_.fire(c, e); });
}

void WindowHost::setHovered(Control* c) {
    if (c == pointer_.hovered) return;
    if (pointer_.hovered) invalidate(*pointer_.hovered);
    pointer_.hovered = c;
    if (c) invalidate(*c);
}

Control* WindowHost::controlUnder(POINT client) { return controlAt(model_, client.x, client.y, scale_); }

Control* WindowHost::controlUnderCursor() {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    return controlUnder(p);
}

void WindowHost::controlChanged(Control& c, Property property) {
    if (!hwnd_) return;
    focus_.sync(c, property);
    if (natives_.sync(c, property, scale_)) return;
    if (c.kind() == ControlKind::Timer) {
        setTimer(c);
    } else if (property == Property::Geometry) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    } else if (c.kind() == ControlKind::AnimationObject) {
        // Shown through the box that holds it.
        for (Control& box : model_.controls()) {
            if (box.kind() == ControlKind::AnimationBox && box.placedObject() == &c) invalidate(box);
        }
    } else {
        invalidate(c);
    }
}

void WindowHost::windowChanged(Window& window) {
    if (!hwnd_) return;
    bool iconic = IsIconic(hwnd_) != FALSE;
    if (window.minimised() != iconic) ShowWindow(hwnd_, window.minimised() ? SW_MINIMIZE : SW_RESTORE);
    RECT now;
    GetWindowRect(hwnd_, &now);
    // The units of the model are coarser than device pixels: a window already where the
    // model says stays put to the pixel.
    if (!iconic && scale_.windowUnits(fromRECT(now)) == window.bounds()) return;
    const Rect r = scale_.windowRect(window.bounds());
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowHost::syncBounds() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    bool iconic = IsIconic(hwnd_) != FALSE;
    model_.syncMinimisedFromSystem(iconic);
    if (!iconic) model_.syncBoundsFromSystem(scale_.windowUnits(fromRECT(r)));
}

// Moved to a screen of another scale: take the rectangle Windows suggests and lay out
// and draw again at the DPI the message carries.
void WindowHost::onDpiChanged(int dpi, const RECT& suggested) {
    scale_ = Scale(dpi);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    natives_.rescale(scale_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void WindowHost::onCommand(WPARAM wp) {
    if (auto heard = natives_.command(wp)) fire(heard->control, heard->event);
}

void WindowHost::onDestroyed() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    for (auto& [control, id] : timers_) KillTimer(hwnd_, id);
    timers_.clear();
    natives_.forget();
    focus_.forget();
    hwnd_ = nullptr;
    if (endsProgram_) PostQuitMessage(0);
}

}  // namespace vorlane::win32
