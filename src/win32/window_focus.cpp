#include "win32/window_focus.h"

#include <commctrl.h>

#include "ui/tab_order.h"
#include "win32/window_class.h"
#include "win32/window_host.h"

namespace vorlane::win32 {
namespace {

constexpr wchar_t kStandInClass[] = L"VorlaneStandIn";

}  // namespace

WindowHost* WindowFocus::hostOfChild(HWND child) {
    HWND parent = child ? GetParent(child) : nullptr;
    return parent ? reinterpret_cast<WindowHost*>(GetWindowLongPtrW(parent, GWLP_USERDATA)) : nullptr;
}

bool WindowFocus::createStops() {
    if (const DWORD error = registerWindowClass(kStandInClass, standInProcedure)) {
        SetLastError(error);
        return false;
    }
    HWND parent = host_.hwnd();
    for (const char* name : host_.model().spec().tabOrder) {
        const Control& c = host_.model().control(name);
        if (NativeControls::isNative(c)) {
            HWND h = natives_.create(parent, c, host_.scale());
            if (!h) return false;
            SetWindowSubclass(h, nativeSubclass, 0, 0);
            continue;
        }
        DWORD style = WS_CHILD | WS_TABSTOP | (c.visible() ? WS_VISIBLE : 0) | (c.enabled() ? 0 : WS_DISABLED);
        HWND h = CreateWindowExW(0, kStandInClass, L"", style, 0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
        if (!h) return false;
        SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        standIns_[&c] = h;
    }
    hideFocusCues();
    return true;
}

void WindowFocus::forget() {
    standIns_.clear();
    lastFocus_ = nullptr;
}

HWND WindowFocus::childOf(const Control& c) const {
    if (HWND h = natives_.nativeOf(c)) return h;
    auto it = standIns_.find(&c);
    return it == standIns_.end() ? nullptr : it->second;
}

Control* WindowFocus::controlOfChild(HWND child) const {
    if (!child) return nullptr;
    if (Control* c = natives_.controlOf(child)) return c;
    for (const auto& [control, h] : standIns_) {
        if (h == child) return const_cast<Control*>(control);
    }
    return nullptr;
}

void WindowFocus::sync(const Control& c, Property property) {
    auto it = standIns_.find(&c);
    if (it == standIns_.end()) return;
    HWND h = it->second;
    switch (property) {
        case Property::Enabled: EnableWindow(h, c.enabled()); break;
        case Property::Visible: ShowWindow(h, c.visible() ? SW_SHOWNA : SW_HIDE); break;
        // Screen readers hear at once of a new caption, or a check (and with it a toggle's caption).
        case Property::Checked:
            NotifyWinEvent(EVENT_OBJECT_STATECHANGE, h, OBJID_CLIENT, CHILDID_SELF);
            [[fallthrough]];
        case Property::Caption: NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, h, OBJID_CLIENT, CHILDID_SELF); break;
        default: break;
    }
}

std::optional<AccessibleView> WindowFocus::accessibleView(HWND child) {
    WindowHost* host = hostOfChild(child);
    Control* c = host && host->alive() ? host->focus().controlOfChild(child) : nullptr;
    if (!c) return std::nullopt;
    const Rect r = host->scale().rect(c->windowRect());
    AccessibleView view{accessibleFacts(*c), {r.left, r.top, r.right(), r.bottom()}};
    MapWindowPoints(host->hwnd(), nullptr, reinterpret_cast<POINT*>(&view.screen), 2);
    return view;
}

LRESULT CALLBACK WindowFocus::standInProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETOBJECT:
            if (auto answer = answerGetObject(hwnd, wp, lp, accessibleView)) return *answer;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // The focus ring comes or goes.
            if (WindowHost* host = hostOfChild(hwnd)) {
                if (msg == WM_SETFOCUS) host->focus().lastFocus_ = hwnd;
                if (Control* c = host->focus().controlOfChild(hwnd)) host->invalidate(*c);
            }
            return 0;
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The native edit boxes and radio buttons: their names and roles for screen readers, and
// where the focus was.
LRESULT CALLBACK WindowFocus::nativeSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    switch (msg) {
        case WM_GETOBJECT:
            if (auto answer = answerGetObject(hwnd, wp, lp, accessibleView)) return *answer;
            break;
        case WM_SETFOCUS:
            if (WindowHost* host = hostOfChild(hwnd)) host->focus().lastFocus_ = hwnd;
            break;
        case WM_NCDESTROY: RemoveWindowSubclass(hwnd, nativeSubclass, id); break;
        default: break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// The window got the focus (it was activated): it goes on to the child that had it last,
// or else to the first stop, the radio group.
void WindowFocus::restoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsChild(host_.hwnd(), target) || !IsWindowEnabled(target) ||
        !IsWindowVisible(target)) {
        Control* first = nextTabStop(host_.model(), nullptr, false);
        target = first ? childOf(*first) : nullptr;
    }
    if (target) SetFocus(target);
}

const Control* WindowFocus::focusRing() const {
    const Control* c = controlOfChild(GetFocus());
    if (!c || c->kind() == ControlKind::EditBox) return nullptr;
    return focusCues_ ? c : nullptr;
}

}  // namespace vorlane::win32
