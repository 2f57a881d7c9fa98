#pragma once
// A window model built from its layout table. Controls keep the table's order: the
// first control lies on top.
#include <deque>
#include <functional>
#include <memory>
#include <string_view>

#include "ui/control.h"

namespace vorlane {

class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    virtual void controlChanged(Control& control, Property property) = 0;
    virtual void windowChanged(Window& window) = 0;
};

enum class Event { Clicked, LeftButtonDown, Tick, MusicEnded, Changed };

// Told after every handler has run (the created event has no control); the test build
// uses it to record the window's state.
using EventListener = void (*)(Window& window, const Control* control, const char* event);

class Window {
public:
    Window(const WindowSpec& spec, App& app);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window();

    const WindowSpec& spec() const { return *spec_; }
    App& app() const { return *app_; }

    // A name the layout lacks is a programming error and stops the program loudly.
    Control& control(std::string_view name);
    const Control& control(std::string_view name) const;
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    std::deque<Control>& controls() { return controls_; }
    const std::deque<Control>& controls() const { return controls_; }

    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& r);
    void setLeft(int v) { setBounds({v, bounds_.top, bounds_.width, bounds_.height}); }
    void setTop(int v) { setBounds({bounds_.left, v, bounds_.width, bounds_.height}); }
    void setWidth(int v) { setBounds({bounds_.left, bounds_.top, v, bounds_.height}); }
    void setHeight(int v) { setBounds({bounds_.left, bounds_.top, bounds_.width, v}); }
    bool minimised() const { return minimised_; }
    void setMinimised(bool m);
    // The host reports state changes that came from the system (restore, move).
    void syncBoundsFromSystem(const Rect& r) { bounds_ = r; }
    void syncMinimisedFromSystem(bool m) { minimised_ = m; }

    void setObserver(WindowObserver* o) { observer_ = o; }
    // The native window that shows this model. The model owns it and ends it first, so a
    // host never outlives the window it observes.
    void setHost(std::unique_ptr<WindowObserver> host) { host_ = std::move(host); }
    void notify(Control& c, Property p) {
        if (observer_) observer_->controlChanged(c, p);
    }

    // Runs the handler bound to the event, if any. Flips a toggle before a click
    // handler reads it, and checks a clicked radio button (unchecking its group).
    void fire(Control& control, Event event);
    void fireCreated();
    // Applies what the pages that `control` asked for brought, as an event of its own.
    void fireFetched(Control& control, const std::function<void()>& apply);

    static void setEventListener(EventListener listener) { listener_ = listener; }

private:
    const WindowSpec* spec_;
    App* app_;
    std::deque<Control> controls_;
    Rect bounds_;
    bool minimised_ = false;
    WindowObserver* observer_ = nullptr;
    std::unique_ptr<WindowObserver> host_;
    static inline EventListener listener_ = nullptr;
};

}  // namespace vorlane
