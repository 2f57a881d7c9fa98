// The keyboard: Tab and Shift+Tab follow the layout's tab order; the arrow keys move
// within the radio group and choose, as a click would; Space and Enter on a picture
// button or the link do what a click does; Enter in an edit box presses its default
// button; Esc presses the window's cancel button. The window takes these keys before the
// dialog manager, which would order the stops by the windows' stacking and, under Wine,
// pass over a radio group with no choice made. The focus ring shows only once the
// keyboard is in use, as the system's focus cues do.
#include "win32/window_host.h"

#include "ui/tab_order.h"

namespace vorlane::win32 {

bool WindowHost::dialogMessage(MSG& msg) { return translateKey(msg) || IsDialogMessageW(hwnd_, &msg); }

bool WindowHost::translateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    Control* focused = controlOfChild(GetFocus());
    const bool repeated = (msg.lParam & (1 << 30)) != 0;
    switch (msg.wParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) < 0) return false;
            showFocusCues();
            moveFocus(nextTabStop(model_, focused, GetKeyState(VK_SHIFT) < 0));
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!focused || focused->kind() != ControlKind::RadioButton) return false;
            showFocusCues();
            if (Control* next = nextRadio(model_, *focused, msg.wParam == VK_LEFT || msg.wParam == VK_UP)) {
                moveFocus(next);
                fire(*next, Event::Clicked);
            }
            return true;
        case VK_SPACE:
        case VK_RETURN: {
            Control* target = focused;
            if (focused && msg.wParam == VK_RETURN && focused->spec().defaultButton) {
                target = &model_.control(focused->spec().defaultButton);
            }
            if (!target || !standIns_.count(target)) return false;
            if (!repeated) activate(*target);
            return true;
        }
        case VK_ESCAPE:
            if (!model_.spec().cancelButton) return false;
            if (!repeated) activate(model_.control(model_.spec().cancelButton));
            return true;
        default: return false;
    }
}

void WindowHost::moveFocus(Control* to) {
    HWND h = to ? childOf(*to) : nullptr;
    if (!h) return;
    SetFocus(h);
    // Typing replaces what the box held, as in a dialog.
    if (to->kind() == ControlKind::EditBox) SendMessageW(h, EM_SETSEL, 0, -1);
}

// What a click does: press, then release over it.
void WindowHost::activate(Control& c) {
    if (!c.enabled()) return;
    showFocusCues();
    if (c.spec().onLeftButtonDown) fire(c, Event::LeftButtonDown);
    if (hwnd_ && c.kind() == ControlKind::GraphicButton) fire(c, Event::Clicked);
}

// The focus cues start hidden, as in a dialog opened with the mouse, and show from the
// first key that moves or uses the focus on. The host keeps its own record and follows
// WM_UPDATEUISTATE, since Wine keeps no UI state and ignores the messages that change it.
void WindowHost::hideFocusCues() {
    focusCues_ = false;
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

void WindowHost::showFocusCues() {
    setFocusCues(true);
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void WindowHost::onUiStateChanged(WPARAM wp) {
    if (!(HIWORD(wp) & UISF_HIDEFOCUS)) return;
    if (LOWORD(wp) == UIS_SET) setFocusCues(false);
    if (LOWORD(wp) == UIS_CLEAR) setFocusCues(true);
}

// The focused control shows its ring, or stops showing it.
void WindowHost::setFocusCues(bool shown) {
    if (shown == focusCues_) return;
    focusCues_ = shown;
    HWND focus = GetFocus();
    Control* c = controlOfChild(focus);
    if (!c) return;
    if (standIns_.count(c)) {
        invalidate(*c);
    } else {
        InvalidateRect(focus, nullptr, FALSE);
    }
}

// The window got the focus (it was activated): it goes on to the child that had it last,
// or else to the first stop, the radio group.
void WindowHost::restoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsChild(hwnd_, target) || !IsWindowEnabled(target) ||
        !IsWindowVisible(target)) {
        Control* first = nextTabStop(model_, nullptr, false);
        target = first ? childOf(*first) : nullptr;
    }
    if (target) SetFocus(target);
}

// The focused picture button, link or radio button, while the keyboard is in use.
const Control* WindowHost::focusRing() const {
    const Control* c = controlOfChild(GetFocus());
    if (!c || c->kind() == ControlKind::EditBox) return nullptr;
    return focusCues_ ? c : nullptr;
}

}  // namespace vorlane::win32
