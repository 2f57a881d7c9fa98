#pragma once
// The keyboard and screen readers in a window. The children the keyboard reaches are made
// in the layout's tab order, the one order there is: the native edit boxes and radio
// buttons, and for each painted control that takes the focus (picture buttons, links) a
// stand-in, a child window without area that can hold the focus and that screen readers
// find. The host paints the controls and their focus ring; the stand-ins paint nothing
// and take no mouse input. Keys: window_keys.cpp.
#include <windows.h>

#include <map>
#include <optional>

#include "win32/accessible_win32.h"
#include "win32/native_controls.h"

namespace vorlane::win32 {

class WindowHost;

class WindowFocus {
public:
    WindowFocus(WindowHost& host, NativeControls& natives) : host_(host), natives_(natives) {}

    // False, with the system's error, when a child the keyboard needs cannot be made.
    [[nodiscard]] bool createStops();
    // A key of the message loop that the window takes before the dialog manager: true
    // when it has been handled.
    bool translateKey(const MSG& msg);
    // A property of the model changed: a stand-in follows its control.
    void sync(const Control& c, Property property);
    // The window got the focus (it was activated).
    void restoreFocus();
    void onUiStateChanged(WPARAM wp);
    // The focused picture button, link or radio button, while the keyboard is in use.
    const Control* focusRing() const;
    bool cuesShown() const { return focusCues_; }
    // The window is gone, and its children with it.
    void forget();

private:
    static WindowHost* hostOfChild(HWND child);
    static LRESULT CALLBACK standInProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK nativeSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    static std::optional<AccessibleView> accessibleView(HWND child);

    HWND childOf(const Control& c) const;
    Control* controlOfChild(HWND child) const;
    void moveFocus(Control* to);
    void activate(Control& c);
    void hideFocusCues();
    void showFocusCues();
    void setFocusCues(bool shown);

    WindowHost& host_;
    NativeControls& natives_;
    std::map<const Control*, HWND> standIns_;
    HWND lastFocus_ = nullptr;  // the child that had the focus last, which gets it back
    bool focusCues_ = false;    // the keyboard is in use: the focused control shows its ring
};

}  // namespace vorlane::win32
