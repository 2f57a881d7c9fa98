// What the window hears from the system: painting, the mouse, timers, the native
// controls, moves and DPI, the focus.
#include <windowsx.h>

#include "win32/services.h"
#include "win32/system_failure.h"
#include "win32/window_host.h"

namespace vorlane::win32 {

void WindowHost::startTimers() {
    for (Control& c : model_.controls()) {
        if (c.kind() == ControlKind::Timer) setTimer(c);
    }
}

// A timer takes its interval anew; 0 stops it.
void WindowHost::setTimer(Control& c) {
    if (auto it = timers_.find(&c); it != timers_.end()) {
        KillTimer(hwnd_, it->second);
        timers_.erase(it);
    }
    if (c.interval() <= 0) return;
    UINT_PTR id = reinterpret_cast<UINT_PTR>(&c);
    if (SetTimer(hwnd_, id, static_cast<UINT>(c.interval()), nullptr)) {
        timers_[&c] = id;
    } else {
        const DWORD error = GetLastError();
        HandlerScope running(context_);
        reportSystemFailure(hwnd_, L"提示：无法启动计时器（" + widen(c.name()).value_or(L"") + L"）。", error);
    }
}

// A tick that falls due while a handler (or its message box) runs is skipped; the timer
// comes round again.
void WindowHost::onTimer(WPARAM id) {
    if (context_.handlersRunning != 0) return;
    for (auto& [control, timer] : timers_) {
        if (timer == id) {
            fire(*const_cast<Control*>(control), Event::Tick);
            return;
        }
    }
}

// True when the message is the mouse's and has been handled.
bool WindowHost::handleMouse(UINT msg, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
        case WM_MOUSEMOVE: {
            if (!tracking_) {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
                tracking_ = TrackMouseEvent(&t) != FALSE;
            }
            Control* c = controlUnder(at);
            setHovered(c && c->kind() == ControlKind::GraphicButton && c->enabled() ? c : nullptr);
            return true;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            setHovered(nullptr);
            return true;
        case WM_LBUTTONDOWN: {
            Control* c = controlUnder(at);
            if (!c || !c->enabled()) return true;
            if (c->kind() == ControlKind::GraphicButton) {
                pointer_.pressed = c;
                SetCapture(hwnd_);
                invalidate(*c);
            }
            if (c->spec().onLeftButtonDown) fire(*c, Event::LeftButtonDown);
            return true;
        }
        case WM_LBUTTONUP: {
            Control* was = const_cast<Control*>(pointer_.pressed);
            if (!was) return true;
            pointer_.pressed = nullptr;
            ReleaseCapture();
            invalidate(*was);
            if (controlUnder(at) == was) fire(*was, Event::Clicked);
            return true;
        }
        case WM_CAPTURECHANGED:
            if (pointer_.pressed) {
                invalidate(*pointer_.pressed);
                pointer_.pressed = nullptr;
            }
            return true;
        default: return false;
    }
}

LRESULT CALLBACK WindowHost::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<WindowHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->handle(msg, wp, lp);
}

LRESULT WindowHost::handle(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = hwnd_;
    if (handleMouse(msg, lp)) return 0;
    switch (msg) {
        case WM_PAINT: paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_NCHITTEST: {
            LRESULT hit = DefWindowProcW(hwnd, msg, wp, lp);
            if (hit != HTCLIENT || !model_.spec().draggable) return hit;
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(hwnd, &p);
            return controlUnder(p) ? HTCLIENT : HTCAPTION;
        }
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd) {
                Control* c = controlUnderCursor();
                bool hand = c && c->enabled() && c->spec().cursor == Cursor::Hand;
                SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_TIMER: onTimer(wp); return 0;
        case WM_COMMAND: onCommand(wp); return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lp)->code == NM_CUSTOMDRAW) {
                return drawNative(*reinterpret_cast<const NMCUSTOMDRAW*>(lp));
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (LRESULT brush = natives_.colour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp))) return brush;
            break;
        case WM_MOVE:
        case WM_SIZE:
            syncBounds();
            if (msg == WM_SIZE) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_DPICHANGED: onDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
        case WM_SETFOCUS: focus_.restoreFocus(); return 0;
        case WM_UPDATEUISTATE: {
            LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
            focus_.onUiStateChanged(wp);
            return result;
        }
        case WM_DESTROY: onDestroyed(); return 0;
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace vorlane::win32
