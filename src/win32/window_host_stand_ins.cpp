// Stand-ins: a child window without area for each painted control the keyboard reaches
// (picture buttons, the link), so it can hold the focus like the native edit boxes and
// radio buttons, and screen readers find all of them as windows. The host paints the
// controls and their focus ring; the stand-ins paint nothing and take no mouse input.
#include "win32/window_class.h"
#include "win32/window_host.h"

namespace vorlane::win32 {
namespace {

constexpr wchar_t kStandInClass[] = L"VorlaneStandIn";

}  // namespace

WindowHost* WindowHost::hostOfChild(HWND child) {
    HWND parent = child ? GetParent(child) : nullptr;
    return parent ? reinterpret_cast<WindowHost*>(GetWindowLongPtrW(parent, GWLP_USERDATA)) : nullptr;
}

bool WindowHost::createStandIns() {
    if (const DWORD error = registerWindowClass(kStandInClass, standInProcedure)) {
        SetLastError(error);
        return false;
    }
    // In the tab order, so the accessible tree and the dialog manager list them in it too.
    HWND previous = HWND_TOP;
    for (const char* name : model_.spec().tabOrder) {
        Control& c = model_.control(name);
        HWND h = childOf(c);
        if (h) {
            SetWindowSubclass(h, nativeSubclass, 0, 0);
        } else {
            DWORD style = WS_CHILD | WS_TABSTOP | (c.visible() ? WS_VISIBLE : 0) | (c.enabled() ? 0 : WS_DISABLED);
            h = CreateWindowExW(0, kStandInClass, L"", style, 0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
            if (!h) return false;
            standIns_[&c] = h;
        }
        SetWindowPos(h, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = h;
    }
    hideFocusCues();
    return true;
}

HWND WindowHost::childOf(const Control& c) const {
    if (auto it = natives_.find(&c); it != natives_.end()) return it->second;
    if (auto it = standIns_.find(&c); it != standIns_.end()) return it->second;
    return nullptr;
}

Control* WindowHost::controlOfChild(HWND child) const {
    if (!child) return nullptr;
    if (Control* c = nativeControl(child)) return c;
    for (const auto& [control, h] : standIns_) {
        if (h == child) return const_cast<Control*>(control);
    }
    return nullptr;
}

void WindowHost::syncStandIn(const Control& c, Property property) {
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

std::optional<AccessibleView> WindowHost::accessibleView(HWND child) {
    WindowHost* host = hostOfChild(child);
    Control* c = host && host->hwnd_ ? host->controlOfChild(child) : nullptr;
    if (!c) return std::nullopt;
    const Rect r = host->scale_.rect(c->windowRect());
    AccessibleView view{accessibleFacts(*c), {r.left, r.top, r.right(), r.bottom()}};
    MapWindowPoints(host->hwnd_, nullptr, reinterpret_cast<POINT*>(&view.screen), 2);
    return view;
}

LRESULT CALLBACK WindowHost::standInProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETOBJECT:
            if (auto answer = answerGetObject(hwnd, wp, lp, accessibleView)) return *answer;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // The focus ring comes or goes.
            if (WindowHost* host = hostOfChild(hwnd)) {
                if (msg == WM_SETFOCUS) host->lastFocus_ = hwnd;
                if (Control* c = host->controlOfChild(hwnd)) host->invalidate(*c);
            }
            return 0;
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The native edit boxes and radio buttons: their names and roles for screen readers, and
// where the focus was.
LRESULT CALLBACK WindowHost::nativeSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    switch (msg) {
        case WM_GETOBJECT:
            if (auto answer = answerGetObject(hwnd, wp, lp, accessibleView)) return *answer;
            break;
        case WM_SETFOCUS:
            if (WindowHost* host = hostOfChild(hwnd)) host->lastFocus_ = hwnd;
            break;
        case WM_NCDESTROY: RemoveWindowSubclass(hwnd, nativeSubclass, id); break;
        default: break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace vorlane::win32
