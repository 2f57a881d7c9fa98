#pragma once
// One control of a window model. Handlers read and write these properties; each change
// is reported to the window's observer (the native host) so it can repaint or update.
#include <string>

#include "base/text.h"
#include "ui/bitmap.h"
#include "ui/layout.h"

namespace vorlane {

class Window;

enum class Property { Geometry, Visible, Enabled, Checked, Caption, Interval, Picture, Placement };

class Control {
public:
    Control(Window& window, const ControlSpec& spec);

    const ControlSpec& spec() const { return *spec_; }
    const char* name() const { return spec_->name; }
    ControlKind kind() const { return spec_->kind; }
    Window& window() const { return *window_; }
    Control* parent() const { return parent_; }
    void setParent(Control* parent) { parent_ = parent; }

    // Position and size relative to the parent; windowRect() is in window coordinates.
    const Rect& bounds() const { return bounds_; }
    Rect windowRect() const;
    void setBounds(const Rect& r);
    void setLeft(int v) { setBounds({v, bounds_.top, bounds_.width, bounds_.height}); }
    void setTop(int v) { setBounds({bounds_.left, v, bounds_.width, bounds_.height}); }
    void setWidth(int v) { setBounds({bounds_.left, bounds_.top, v, bounds_.height}); }
    void setHeight(int v) { setBounds({bounds_.left, bounds_.top, bounds_.width, v}); }

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    bool checked() const { return checked_; }
    void setChecked(bool v);

    // Content of an edit box, caption of a label or radio button, file name of a dialog.
    const Text& text() const { return text_; }
    void setText(const Text& t);
    // Keeps the model in step with what the user typed, without echoing it back.
    void syncTextFromUser(const Text& t) { text_ = t; }
    const Text& tag() const { return tag_; }

    int interval() const { return interval_; }
    void setInterval(int ms);

    // Animation object: the picture file's bytes, and how often they have been set (what a
    // host keeps of the picture is only good for one revision).
    const Bytes& pictureBytes() const { return pictureBytes_; }
    unsigned pictureRevision() const { return pictureRevision_; }
    void setPictureBytes(Bytes bytes);

    // Animation box: the object shown in it and where.
    const Control* placedObject() const { return placedObject_; }
    int placedLeft() const { return placedLeft_; }
    int placedTop() const { return placedTop_; }
    void place(const Control& object, int left, int top);

private:
    void changed(Property p);

    Window* window_;
    const ControlSpec* spec_;
    Control* parent_ = nullptr;
    Rect bounds_;
    bool visible_, enabled_, checked_ = false;
    Text text_, tag_;
    int interval_;
    Bytes pictureBytes_;
    unsigned pictureRevision_ = 0;
    const Control* placedObject_ = nullptr;
    int placedLeft_ = 0, placedTop_ = 0;
};

}  // namespace vorlane
