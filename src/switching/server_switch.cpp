#include "switching/server_switch.h"

#include "program/app.h"
#include "switching/launcher_backup.h"
#include "switching/launcher_files.h"
#include "switching/launcher_state.h"
#include "switching/switch_messages.h"
#include "switching/version_rule.h"

namespace vorlane {
namespace {

Text attemptSwitch(App& app) {
    if (const Branch* branch = chosenBranch(app)) {
        return switchLauncher(app, *branch, app.main.control(branch->versionBox).text()).message;
    }
    return "提示：请先选中项目！";
}

}  // namespace

SwitchResult switchLauncher(App& app, const Branch& branch, const Text& version) {
    if (version.empty()) return {.message = "提示：请填写版本号！"};
    if (breaksVersionFile(version)) return {.message = "提示：版本号不能包含 < > & 或控制字符，请重新填写！"};
    // A running game reads these files; it would go on with a mix of old and new.
    if (auto refusal = gameRunningMessage(app, "提示：游戏正在运行，请先关闭游戏再切换：")) return {.message = *refusal};
    constexpr std::string_view kNotRestored = "提示：切换失败，且未能恢复全部文件，请不要启动游戏：";
    // A switch cut short is put right first: a set half switched is no one's to keep.
    if (ReplaceOutcome earlier = app.platform.recoverFiles(switchJournal(app), launcherTargets(app)); !earlier.ok) {
        return {.message = replaceFailureMessage(earlier, kNotRestored)};
    }
    // Templates that are out of date must never cost the player the launcher the game installed.
    if (auto refusal = keepGameLauncher(app)) return {.message = *refusal};
    Text& stored = app.*branch.versionText;
    stored = branchVersionFile(app, branch, version);
    // All four or none: a launcher left half on one server and half on the other fails
    // in ways the player cannot see.
    const ReplaceOutcome outcome = app.platform.replaceFiles(launcherFiles(app, branch, stored), switchJournal(app));
    if (outcome.ok) return {.done = true, .message = branch.success};
    return {.message = replaceFailureMessage(outcome, kNotRestored)};
}

void onSwitchClicked(App& app) {
    const Text message = attemptSwitch(app);
    // Behind the message, the window already shows where the launcher points now.
    showLauncherState(app);
    app.platform.showMessage(message);
}

std::optional<Text> recoverInterruptedSwitch(App& app) {
    recoverBackup(app);
    const JournalPlace journal = switchJournal(app);
    // The game reads the files it was started with; they are put right once it has ended.
    if (app.platform.exists(journal.path)) {
        if (auto refusal = gameRunningMessage(
                app, "提示：游戏正在运行，上次未完成的切换将在游戏关闭后重新打开本程序时完成：")) {
            return refusal;
        }
    }
    const ReplaceOutcome outcome = app.platform.recoverFiles(journal, launcherTargets(app));
    if (outcome.ok) return std::nullopt;
    return replaceFailureMessage(outcome, "提示：上次的切换没有完成，且未能恢复全部文件，请不要启动游戏：");
}

}  // namespace vorlane
