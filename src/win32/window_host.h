#pragma once
// The native window of one window model: paints it with the portable painter, turns
// mouse input into control events, and keeps native edit boxes and radio buttons in
// step with the model. The model is in layout units; the host maps it to the device
// pixels of the window's DPI and follows the window when that DPI changes. Painted
// controls that take the keyboard focus have stand-in child windows, so the focus and
// screen readers can reach them (window_host_keys.cpp, window_host_stand_ins.cpp).
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "ui/painter.h"
#include "win32/accessible_win32.h"
#include "win32/gdi_text.h"
#include "win32/handle.h"
#include "win32/host_context.h"

namespace vorlane::win32 {

// The class of every window the program shows.
inline constexpr wchar_t kWindowClass[] = L"VorlaneWindow";

// Made by the platform and owned by the model it shows (Window::setHost), so it never
// outlives it.
class WindowHost final : public WindowObserver {
public:
    WindowHost(Window& model, HostContext& context, HWND owner, bool endsProgram);
    ~WindowHost() override;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool alive() const { return hwnd_ != nullptr; }
    // Why the native window could not be made (a system error code); 0 when it was.
    DWORD creationError() const { return creationError_; }
    Window& model() const { return model_; }
    Scale scale() const { return scale_; }
    void show();
    void destroy();
    void startTimers();
    // Runs the handler of a control's event; handlers run one at a time.
    void fire(Control& c, Event e);
    // A message of the loop: the window's own keys, then the dialog manager's. True when
    // it has been handled.
    bool dialogMessage(MSG& msg);

    void controlChanged(Control& control, Property property) override;
    void windowChanged(Window& window) override;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

    void placeWindow();
    bool createNativeControls();
    HWND createEdit(const Control& c, int id);
    HWND createRadio(const Control& c, int id);
    void scaleNative(const Control& c, HWND native);
    void placeNative(const Control& c, HWND native);
    Control* nativeControl(HWND native) const;
    void paint();
    void render(const Rect& area, const Control* focusRing);
    void ensureBuffer(int width, int height);
    void setHovered(Control* c);
    void invalidate(const Control& c);
    LRESULT colourNative(HDC dc, HWND native);
    LRESULT drawNative(const NMCUSTOMDRAW& draw);
    Control* controlUnder(POINT client);  // in device pixels
    Control* controlUnderCursor();
    void onCommand(WPARAM wp, LPARAM lp);
    void onDpiChanged(int dpi, const RECT& suggested);
    void syncBounds();

    // Keyboard focus and screen readers.
    static WindowHost* hostOfChild(HWND child);
    static LRESULT CALLBACK standInProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK nativeSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    static std::optional<AccessibleView> accessibleView(HWND child);
    // False, with the system's error, when a child the keyboard needs cannot be made.
    [[nodiscard]] bool createStandIns();
    void syncStandIn(const Control& c, Property property);
    HWND childOf(const Control& c) const;
    Control* controlOfChild(HWND child) const;
    bool translateKey(const MSG& msg);
    void moveFocus(Control* to);
    void activate(Control& c);
    void hideFocusCues();
    void showFocusCues();
    void restoreFocus();
    void onUiStateChanged(WPARAM wp);
    void setFocusCues(bool shown);
    const Control* focusRing() const;

    Window& model_;
    HostContext& context_;
    HWND hwnd_ = nullptr;
    Scale scale_;
    bool endsProgram_ = false;  // set once the window is made
    bool syncing_ = false;  // set while the model writes into a native control
    std::map<const Control*, HWND> natives_;
    std::map<int, Control*> byId_;
    std::map<const Control*, UINT_PTR> timers_;
    std::map<const Control*, HWND> standIns_;
    HWND lastFocus_ = nullptr;  // the child that had the focus last, which gets it back
    bool focusCues_ = false;    // the keyboard is in use: the focused control shows its ring
    PointerState pointer_;
    ShownPictures shownPictures_{context_.decoder};
    bool tracking_ = false;

    DWORD creationError_ = 0;
    // The DC holding the buffer goes first, so the buffer is no longer selected when deleted.
    OwnedGdi<HBITMAP> buffer_;
    OwnedDc memDc_;
    std::uint32_t* bits_ = nullptr;
    int bufferW_ = 0, bufferH_ = 0;
    OwnedGdi<HBRUSH> editBrush_;
};

}  // namespace vorlane::win32
