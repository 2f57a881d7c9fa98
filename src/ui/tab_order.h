#pragma once
// Where the keyboard goes in a window: the layout's tab order, one stop per control. The
// radio buttons are one stop (the checked one, or else the first), and hidden or
// disabled controls are passed over.
#include "ui/window.h"

namespace vorlane {

// The stop after `from` (before it, going backwards); from no control, the first (the
// last). nullptr when no control can take the focus.
Control* nextTabStop(Window& window, const Control* from, bool backwards);

// The radio button an arrow key moves to from `from`, round the group.
Control* nextRadio(Window& window, const Control& from, bool backwards);

}  // namespace vorlane
