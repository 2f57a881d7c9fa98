#pragma once
#include "ui/scale.h"
#include "ui/window.h"

namespace vorlane {

// The topmost visible control under a point in the window's device pixels at `scale`,
// honouring the clipping of picture boxes; nullptr where only the window surface is.
// Controls are where the painter draws them at that scale.
Control* controlAt(Window& window, int x, int y, Scale scale = {});

// True for kinds that the painter draws and that never take input themselves.
bool isDrawnControl(ControlKind kind);

}  // namespace vorlane
