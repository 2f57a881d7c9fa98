#pragma once
#include "platform/platform.h"

namespace vorlane {

// Process life: show the main window, run its start-up, dispatch until it is closed.
int runApplication(Platform& platform);

}  // namespace vorlane
