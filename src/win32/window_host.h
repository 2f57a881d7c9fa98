#pragma once
// The native window of one window model: its messages, painting and DPI. Paints the model
// with the portable painter, turns mouse input into control events, and follows the window
// when its DPI changes. The model is in layout units; the host maps it to the device pixels
// of the window's DPI. Its parts own their own state: the native edit boxes and radio
// buttons (NativeControls), the keyboard and screen readers (WindowFocus), the band
// buffer it paints through (PaintBuffer).
#include <windows.h>
#include <commctrl.h>

#include <map>

#include "win32/host_context.h"
#include "win32/native_controls.h"
#include "win32/paint_buffer.h"
#include "win32/window_focus.h"

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
    WindowFocus& focus() { return focus_; }
    void show();
    void destroy();
    void startTimers();
    // Runs the handler of a control's event; handlers run one at a time.
    void fire(Control& c, Event e);
    // Paints the control again.
    void invalidate(const Control& c);
    // A message of the loop: the window's own keys, then the dialog manager's. True when
    // it has been handled.
    bool dialogMessage(MSG& msg);

    void controlChanged(Control& control, Property property) override;
    void windowChanged(Window& window) override;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    bool handleMouse(UINT msg, LPARAM lp);

    void placeWindow();
    void paint();
    void setHovered(Control* c);
    void setTimer(Control& c);
    void onTimer(WPARAM id);
    LRESULT drawNative(const NMCUSTOMDRAW& draw);
    Control* controlUnder(POINT client);  // in device pixels
    Control* controlUnderCursor();
    void onCommand(WPARAM wp);
    void onDpiChanged(int dpi, const RECT& suggested);
    void syncBounds();
    void onDestroyed();

    Window& model_;
    HostContext& context_;
    HWND hwnd_ = nullptr;
    Scale scale_;
    bool endsProgram_ = false;  // set once the window is made
    DWORD creationError_ = 0;
    std::map<const Control*, UINT_PTR> timers_;
    PointerState pointer_;
    bool tracking_ = false;  // asked to hear when the mouse leaves
    NativeControls natives_{context_.fonts};
    WindowFocus focus_{*this, natives_};
    PaintBuffer buffer_{context_};
};

}  // namespace vorlane::win32
