#include "app/startup.h"

#include "online/startup_steps.h"
#include "program/app.h"
#include "program/controls.h"
#include "switching/launcher_state.h"
#include "switching/server_switch.h"

namespace vorlane {

void onMainWindowCreated(App& app) {
    app.gameDir = app.platform.programDirectory();
    // Told over the window once it shows: the start-up is no place for a box.
    if (auto told = recoverInterruptedSwitch(app)) {
        app.platform.afterFirstFrame([&app, message = std::move(*told)] { app.platform.showMessage(message); });
    }
    showLauncherState(app);

    Control& picture = app.main.control(controls::loadingPicture);
    picture.setPictureBytes(app.platform.readFileBytes(app.gameDir + "\\TCLS\\ui\\background_Loading.png").bytes);
    app.main.control(controls::previewBox).place(picture, 0, 0);

    openPortalPage(app);
    showIpAddress(app);
    showNewestRelease(app);
}

}  // namespace vorlane
