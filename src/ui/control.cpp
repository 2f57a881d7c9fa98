#include "ui/control.h"

#include "ui/window.h"

namespace vorlane {

Control::Control(Window& window, const ControlSpec& spec)
    : window_(&window),
      spec_(&spec),
      bounds_{spec.left, spec.top, spec.width, spec.height},
      visible_(spec.visible),
      enabled_(spec.enabled),
      text_(spec.text),
      tag_(spec.tag),
      interval_(spec.interval) {}

Rect Control::windowRect() const {
    Rect r = bounds_;
    for (const Control* p = parent_; p; p = p->parent_) {
        r.left += p->bounds_.left;
        r.top += p->bounds_.top;
    }
    return r;
}

void Control::changed(Property p) { window_->notify(*this, p); }

void Control::setBounds(const Rect& r) {
    if (r == bounds_) return;
    bounds_ = r;
    changed(Property::Geometry);
}

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    changed(Property::Visible);
}

void Control::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    changed(Property::Enabled);
}

void Control::setChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    changed(Property::Checked);
}

void Control::setText(const Text& t) {
    if (t == text_) return;
    text_ = t;
    changed(Property::Caption);
}

void Control::setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    changed(Property::Interval);
}

void Control::setPictureBytes(Bytes bytes) {
    pictureBytes_ = std::move(bytes);
    ++pictureRevision_;
    changed(Property::Picture);
}

void Control::place(const Control& object, int left, int top) {
    placedObject_ = &object;
    placedLeft_ = left;
    placedTop_ = top;
    changed(Property::Placement);
}

}  // namespace vorlane
