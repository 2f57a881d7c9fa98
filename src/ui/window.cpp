#include "ui/window.h"

#include <cstdio>
#include <cstdlib>

namespace vorlane {
namespace {

[[noreturn]] void missingControl(std::string_view window, std::string_view name) {
    std::fprintf(stderr, "layout error: window %.*s has no control %.*s\n", static_cast<int>(window.size()),
                 window.data(), static_cast<int>(name.size()), name.data());
    std::abort();
}

}  // namespace

Window::Window(const WindowSpec& spec, App& app)
    : spec_(&spec), app_(&app), bounds_{0, 0, spec.width, spec.height} {
    for (const ControlSpec& row : spec.controls) controls_.emplace_back(*this, row);
    for (Control& c : controls_) {
        if (c.spec().parent) c.setParent(&control(c.spec().parent));
    }
}

Window::~Window() { host_.reset(); }

Control* Window::find(std::string_view name) {
    for (Control& c : controls_) {
        if (name == c.name()) return &c;
    }
    return nullptr;
}

const Control* Window::find(std::string_view name) const { return const_cast<Window*>(this)->find(name); }

Control& Window::control(std::string_view name) {
    if (Control* c = find(name)) return *c;
    missingControl(spec_->name, name);
}

const Control& Window::control(std::string_view name) const { return const_cast<Window*>(this)->control(name); }

void Window::setBounds(const Rect& r) {
    if (r == bounds_) return;
    bounds_ = r;
    if (observer_) observer_->windowChanged(*this);
}

void Window::setMinimised(bool m) {
    if (m == minimised_) return;
    minimised_ = m;
    if (observer_) observer_->windowChanged(*this);
}

void Window::fire(Control& control, Event event) {
    const ControlSpec& s = control.spec();
    Handler handler = nullptr;
    const char* name = "";
    switch (event) {
        case Event::Clicked:
            if (control.kind() == ControlKind::GraphicButton && s.buttonType == ButtonType::Toggle) {
                control.setChecked(!control.checked());
            } else if (control.kind() == ControlKind::RadioButton) {
                for (Control& other : controls_) {
                    if (other.kind() == ControlKind::RadioButton) other.setChecked(&other == &control);
                }
            }
            handler = s.onClicked;
            name = "clicked";
            break;
        case Event::LeftButtonDown:
            handler = s.onLeftButtonDown;
            name = "pressed";
            break;
        case Event::Tick:
            handler = s.onTick;
            name = "tick";
            break;
        case Event::MusicEnded:
            handler = s.onMusicEnded;
            name = "music ended";
            break;
        case Event::Changed:
            handler = s.onChanged;
            name = "changed";
            break;
    }
    if (!handler) return;
    handler(*app_);
    if (listener_) listener_(*this, &control, name);
}

void Window::fireCreated() {
    if (!spec_->onCreated) return;
    spec_->onCreated(*app_);
    if (listener_) listener_(*this, nullptr, "created");
}

void Window::fireFetched(Control& control, const std::function<void()>& apply) {
    apply();
    if (listener_) listener_(*this, &control, "fetched");
}

}  // namespace vorlane
