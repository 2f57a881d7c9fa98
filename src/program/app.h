#pragma once
// What every handler works on: the system services, the windows and the shared texts.
#include <memory>

#include "platform/platform.h"

namespace vorlane {

// The main window's layout (app/main_layout.cpp).
const WindowSpec& mainWindowSpec();

struct App {
    explicit App(Platform& p) : platform(p), main(mainWindowSpec(), *this) {}

    Platform& platform;
    Window main;
    std::unique_ptr<Window> preview;  // exists only while the preview window is open

    Text gameDir;
    Text liveVersionText;
    Text testVersionText;

    int zeroVersionFetches = 0;  // download pages that said "0.0.0.0"
    bool versionPagesPending = false;  // the timer's two pages are on their way
};

}  // namespace vorlane
