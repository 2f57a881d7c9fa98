#include "switching/client_launch.h"

#include "app/app.h"

namespace vorlane {

void onLaunchClientClicked(App& app) { startClient(app); }

bool startClient(App& app) {
    const Text client = app.gameDir + "\\TCLS\\Client.exe";
    if (!app.platform.exists(client)) {
        app.platform.showMessage("提示：没有找到游戏程序：" + client);
    } else if (!app.platform.runProgram(client, false)) {
        app.platform.showMessage("提示：无法启动游戏程序：" + client);
    } else {
        return true;
    }
    return false;
}

}  // namespace vorlane
