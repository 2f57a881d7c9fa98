#include "switching/client_launch.h"

#include "app/app.h"

namespace vorlane {

// Fire and forget: a client that cannot be started shows nothing.
void onLaunchClientClicked(App& app) { app.platform.runProgram(app.gameDir + "\\TCLS\\Client.exe", false); }

}  // namespace vorlane
