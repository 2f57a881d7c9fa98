#include "switching/client_launch.h"

#include "program/app.h"

namespace vorlane {

void onLaunchClientClicked(App& app) { startClient(app); }

bool startClient(App& app) {
    const Text client = app.gameDir + "\\TCLS\\Client.exe";
    if (!app.platform.exists(client)) {
        app.platform.showMessage("提示：没有找到游戏程序：" + client);
        return false;
    }
    switch (app.platform.runProgram(client, false)) {
        case RunOutcome::Started: return true;
        case RunOutcome::Declined: return false;  // the player said no to the system's prompt
        case RunOutcome::Failed: break;
    }
    app.platform.showMessage("提示：无法启动游戏程序：" + client);
    return false;
}

}  // namespace vorlane
