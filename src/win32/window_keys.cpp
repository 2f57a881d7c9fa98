// The keyboard: Tab and Shift+Tab follow the layout's tab order; the arrow keys move
// within the radio group and choose, as a click would; Space and Enter on a picture
// button or the link do what a click does; Enter in an edit box presses its default
// button; Esc presses the window's cancel button. The window takes these keys before the
// dialog manager, which under Wine passes over a radio group with no choice made. The
// focus ring shows only once the keyboard is in use, as the system's focus cues do.
#include "ui/tab_order.h"
#include "win32/window_focus.h"
#include "win32/window_host.h"

namespace vorlane::win32 {

bool WindowFocus::translateKey(const MSG& msg) {
    HWND window = host_.hwnd();
    if (msg.message != WM_KEYDOWN || !window || (msg.hwnd != window && !IsChild(window, msg.hwnd))) return false;
    Window& model = host_.model();
    Control* focused = controlOfChild(GetFocus());
    const bool repeated = (msg.lParam & (1 << 30)) != 0;
    switch (msg.wParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) < 0) return false;
            showFocusCues();
            moveFocus(nextTabStop(model, focused, GetKeyState(VK_SHIFT) < 0));
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!focused || focused->kind() != ControlKind::RadioButton) return false;
            showFocusCues();
            if (Control* next = nextRadio(model, *focused, msg.wParam == VK_LEFT || msg.wParam == VK_UP)) {
                moveFocus(next);
                host_.fire(*next, Event::Clicked);
            }
            return true;
        case VK_SPACE:
        case VK_RETURN: {
            Control* target = focused;
            if (focused && msg.wParam == VK_RETURN && focused->spec().defaultButton) {
                target = &model.control(focused->spec().defaultButton);
            }
            if (!target || !standIns_.count(target)) return false;
            if (!repeated) activate(*target);
            return true;
        }
        case VK_ESCAPE:
            if (!model.spec().cancelButton) return false;
            if (!repeated) activate(model.control(model.spec().cancelButton));
            return true;
        default: return false;
    }
}

void WindowFocus::moveFocus(Control* to) {
    HWND h = to ? childOf(*to) : nullptr;
    if (!h) return;
    SetFocus(h);
    // Typing replaces what the box held, as in a dialog.
    if (to->kind() == ControlKind::EditBox) SendMessageW(h, EM_SETSEL, 0, -1);
}

// What a click does: press, then release over it.
void WindowFocus::activate(Control& c) {
    if (!c.enabled()) return;
    showFocusCues();
    if (c.spec().onLeftButtonDown) host_.fire(c, Event::LeftButtonDown);
    if (host_.alive() && c.kind() == ControlKind::GraphicButton) host_.fire(c, Event::Clicked);
}

// The focus cues start hidden, as in a dialog opened with the mouse, and show from the
// first key that moves or uses the focus on. The host keeps its own record and follows
// WM_UPDATEUISTATE, since Wine keeps no UI state and ignores the messages that change it.
void WindowFocus::hideFocusCues() {
    focusCues_ = false;
    SendMessageW(host_.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

void WindowFocus::showFocusCues() {
    setFocusCues(true);
    SendMessageW(host_.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void WindowFocus::onUiStateChanged(WPARAM wp) {
    if (!(HIWORD(wp) & UISF_HIDEFOCUS)) return;
    if (LOWORD(wp) == UIS_SET) setFocusCues(false);
    if (LOWORD(wp) == UIS_CLEAR) setFocusCues(true);
}

// The focused control shows its ring, or stops showing it.
void WindowFocus::setFocusCues(bool shown) {
    if (shown == focusCues_) return;
    focusCues_ = shown;
    HWND focus = GetFocus();
    Control* c = controlOfChild(focus);
    if (!c) return;
    if (standIns_.count(c)) {
        host_.invalidate(*c);
    } else {
        InvalidateRect(focus, nullptr, FALSE);
    }
}

}  // namespace vorlane::win32
