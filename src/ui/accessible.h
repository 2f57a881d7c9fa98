#pragma once
// What a screen reader is told about a control that takes the keyboard focus.
#include "ui/control.h"

namespace vorlane {

enum class AccessibleRole { PushButton, CheckButton, RadioButton, Link, EditableText, Other };

struct AccessibleFacts {
    AccessibleRole role = AccessibleRole::Other;
    Text name;
    bool checked = false;
    friend bool operator==(const AccessibleFacts&, const AccessibleFacts&) = default;
};

// A picture button is named by the caption in its picture (a toggle by the one it shows
// now), a label or radio button by its caption, an edit box by the label that names it.
AccessibleFacts accessibleFacts(const Control& control);

}  // namespace vorlane
