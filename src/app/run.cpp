#include "app/run.h"

#include "program/app.h"

namespace vorlane {

int runApplication(Platform& platform) {
    // The shared texts live in App and are released when it goes out of scope at exit.
    App app(platform);
    platform.loadWindow(app.main, false);
    return platform.runMessageLoop();
}

}  // namespace vorlane
