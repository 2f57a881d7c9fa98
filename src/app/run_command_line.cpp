#include "app/command_line.h"
#include "program/app.h"
#include "switching/client_launch.h"
#include "switching/server_switch.h"

namespace vorlane {
namespace {

constexpr char kUsage[] =
    "提示：命令行有误，本程序未作任何操作。\r\n"
    "用法：\r\n"
    "vorlane.exe --live 版本号 [--start]\r\n"
    "vorlane.exe --experience 版本号 [--start]\r\n"
    "--live 切换到正服，--experience 切换到体验服，\r\n"
    "版本号是该服务器当前的客户端版本；\r\n"
    "加上 --start，切换成功后启动游戏。\r\n"
    "退出代码：\r\n"
    "0 成功\r\n"
    "1 未能切换或未能启动游戏（会提示原因）\r\n"
    "2 命令行有误";

}  // namespace

int runCommandLine(Platform& platform, const CommandLine& command, bool anotherCopyRuns) {
    if (command.kind != CommandLine::Kind::Switch) {
        platform.showMessage(kUsage);
        return kExitUsage;
    }
    // Two copies would switch one folder through one journal.
    if (anotherCopyRuns) {
        platform.showMessage("提示：本程序已在此游戏目录中运行，请在已打开的窗口中操作。");
        return kExitRefused;
    }
    // The window's model holds the templates; it is never shown.
    App app(platform);
    app.gameDir = platform.programDirectory();
    // There is no window to wait for: what the recovery has to say is said now, and the
    // switch waits for the next start.
    if (auto told = recoverInterruptedSwitch(app)) {
        platform.showMessage(*told);
        return kExitRefused;
    }
    const SwitchResult switched = switchLauncher(app, *command.branch, command.version);
    if (!switched.done) {
        platform.showMessage(switched.message);
        return kExitRefused;
    }
    if (command.start && !startClient(app)) return kExitRefused;
    return kExitDone;
}

}  // namespace vorlane
