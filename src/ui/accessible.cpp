#include "ui/accessible.h"

#include "ui/window.h"

namespace vorlane {

AccessibleFacts accessibleFacts(const Control& c) {
    const ControlSpec& s = c.spec();
    switch (c.kind()) {
        case ControlKind::GraphicButton:
            if (s.buttonType == ButtonType::Toggle) {
                return {AccessibleRole::CheckButton, c.checked() && s.checkedText ? s.checkedText : c.text(),
                        c.checked()};
            }
            return {AccessibleRole::PushButton, c.text()};
        // A label that takes the focus is one that acts when pressed.
        case ControlKind::TransparentLabel: return {AccessibleRole::Link, c.text()};
        case ControlKind::RadioButton: return {AccessibleRole::RadioButton, c.text(), c.checked()};
        case ControlKind::EditBox:
            return {AccessibleRole::EditableText, s.labelledBy ? c.window().control(s.labelledBy).text() : Text()};
        default: return {AccessibleRole::Other, c.text()};
    }
}

}  // namespace vorlane
