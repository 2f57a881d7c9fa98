#include "switching/launcher_restore.h"

#include "program/app.h"
#include "switching/launcher_backup.h"
#include "switching/launcher_files.h"
#include "switching/launcher_state.h"
#include "switching/switch_messages.h"

namespace vorlane {
namespace {

// The message the attempt ends with; nothing when the player thinks better of it.
std::optional<Text> restoreGameLauncher(App& app) {
    const std::optional<Backup> backup = readBackup(app);
    if (!backup || !backup->damaged.empty()) {
        // Half a launcher from the backup would be worse than the one there is.
        return "提示：备份文件不完整，无法恢复：" + (backup ? backup->damaged : app.gameDir + "\\Vorlane备份");
    }
    if (!app.platform.ask("确定要把启动器文件恢复为本程序第一次切换前的样子吗？")) return std::nullopt;
    if (auto refusal = gameRunningMessage(app, "提示：游戏正在运行，请先关闭游戏再切换：")) return refusal;
    std::vector<FileWrite> writes;
    for (const KeptFile& kept : backup->files) {
        if (kept.existed) {
            writes.push_back({kept.target, kept.bytes});
        } else if (app.platform.exists(kept.target)) {
            writes.push_back({kept.target, {}, true});
        }
    }
    const ReplaceOutcome outcome = app.platform.replaceFiles(writes, switchJournal(app));
    if (outcome.ok) return "提示：已恢复游戏原来的启动器文件。";
    return replaceFailureMessage(outcome, "提示：切换失败，且未能恢复全部文件，请不要启动游戏：");
}

}  // namespace

// The backup stays, so the game's own files can be put back again after later switches.
void onRestoreLauncherPressed(App& app) {
    const std::optional<Text> message = restoreGameLauncher(app);
    showLauncherState(app);
    if (message) app.platform.showMessage(*message);
}

}  // namespace vorlane
