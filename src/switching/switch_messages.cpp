#include "switching/switch_messages.h"

namespace vorlane {

std::optional<Text> gameRunningMessage(App& app, std::string_view runs) {
    const RunningProgram running = app.platform.runningProgramIn(app.gameDir);
    if (running.cannotTell) return "提示：无法检查游戏是否正在运行，请关闭游戏后重试。";
    if (running.path) return Text(runs) + "\r\n" + *running.path;
    return std::nullopt;
}

Text replaceFailureMessage(const ReplaceOutcome& outcome, std::string_view notRestored) {
    if (outcome.unknownJournal) {
        return "提示：发现上次未完成的切换记录，但无法识别，游戏文件未作修改：\r\n" + outcome.failedPath;
    }
    if (outcome.notRestored.empty()) {
        return "提示：切换失败，游戏文件未作任何修改。无法写入：\r\n" + outcome.failedPath +
               "\r\n请确认本程序放在CF游戏根目录下，并关闭游戏后重试。";
    }
    // The journal stays: the next start finishes putting the files back.
    Text message(notRestored);
    for (const Text& file : outcome.notRestored) message += "\r\n" + file;
    return message + "\r\n请关闭占用这些文件的程序后重新打开本程序，程序会自动完成恢复。";
}

}  // namespace vorlane
