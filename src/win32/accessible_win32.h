#pragma once
// Screen readers ask each child window for its accessible object (WM_GETOBJECT). The
// system's standard object does most of the work; ours corrects what it cannot know of
// our controls: the role, the name, whether it is checked and where it is drawn. (Under
// Wine the standard object calls every button a "client", and names an edit box after a
// static window before it, which our painted labels are not.)
#include <windows.h>

#include <optional>

#include "ui/accessible.h"

namespace vorlane::win32 {

struct AccessibleView {
    AccessibleFacts facts;
    RECT screen{};  // where the control is drawn, in screen pixels
};

// Asked on every call, so a caption or a check that changes is read as it is now;
// nullopt once the window or its control is gone.
using AccessibleLookup = std::optional<AccessibleView> (*)(HWND window);

// The answer to WM_GETOBJECT for the client object of `window`; nullopt for any other
// object, or without oleacc, so that the caller lets the system answer.
std::optional<LRESULT> answerGetObject(HWND window, WPARAM wp, LPARAM lp, AccessibleLookup lookup);

}  // namespace vorlane::win32
