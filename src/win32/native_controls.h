#pragma once
// The native edit boxes and radio buttons of a window: real controls for typing, the
// keyboard and screen readers, kept in step with the model at the window's scale. A radio
// button shows what the painter draws for it (WindowHost::drawNative).
#include <windows.h>

#include <map>
#include <optional>

#include "ui/scale.h"
#include "ui/window.h"
#include "win32/gdi_text.h"
#include "win32/handle.h"

namespace vorlane::win32 {

class NativeControls {
public:
    explicit NativeControls(FontCache& fonts);

    static bool isNative(const Control& c) {
        return c.kind() == ControlKind::EditBox || c.kind() == ControlKind::RadioButton;
    }
    // A child of `parent` for `c`, below the children made before it (so the stacking
    // follows the order they are made in); null, with the system's error, when it cannot
    // be made. The first radio button starts the group.
    HWND create(HWND parent, const Control& c, Scale scale);
    HWND nativeOf(const Control& c) const;
    Control* controlOf(HWND native) const;

    // A property of the model changed: false when `c` has no native control.
    bool sync(const Control& c, Property property, Scale scale);
    // The window moved to a screen of another scale.
    void rescale(Scale scale);
    // WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: the brush of an edit box, else 0.
    LRESULT colour(HDC dc, HWND native) const;
    // WM_COMMAND: the event the model hears of it, if any (what was typed is in the
    // model already).
    struct Heard {
        Control& control;
        Event event;
    };
    std::optional<Heard> command(WPARAM wp);
    // The window is gone, and its children with it.
    void forget();

private:
    void scaleNative(const Control& c, HWND native, Scale scale);
    static void placeNative(const Control& c, HWND native, Scale scale);

    FontCache& fonts_;
    std::map<const Control*, HWND> natives_;
    std::map<int, Control*> byId_;
    int nextId_;
    bool groupStarted_ = false;
    bool syncing_ = false;  // set while the model writes into a native control
    OwnedGdi<HBRUSH> editBrush_;
};

}  // namespace vorlane::win32
