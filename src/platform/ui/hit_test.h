#pragma once
#include "platform/ui/window.h"

namespace vorlane {

// The topmost visible control under a point in window coordinates, honouring the
// clipping of picture boxes; nullptr where only the window surface is.
Control* controlAt(Window& window, int x, int y);

// True for kinds that the painter draws and that never take input themselves.
bool isDrawnControl(ControlKind kind);

}  // namespace vorlane
