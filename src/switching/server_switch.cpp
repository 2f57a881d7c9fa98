#include "switching/server_switch.h"

#include <algorithm>
#include <string_view>

#include "app/app.h"
#include "switching/launcher_files.h"
#include "switching/launcher_state.h"
#include "switching/switch_messages.h"

namespace vorlane {
namespace {

// The version goes into the XML as typed, so markup and control characters would break
// the file. GB18030 never uses these bytes inside a character, so bytes are checked.
bool breaksVersionFile(std::string_view version) {
    return std::any_of(version.begin(), version.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&';
    });
}

// The message the attempt ends with.
Text switchTo(App& app, const Branch& branch) {
    const Text& version = app.main.control(branch.versionBox).text();
    if (version.empty()) return "提示：请填写版本号！";
    if (breaksVersionFile(version)) return "提示：版本号不能包含 < > & 或控制字符，请重新填写！";
    // A running game reads these files; it would go on with a mix of old and new.
    if (auto refusal = gameRunningMessage(app, "提示：游戏正在运行，请先关闭游戏再切换：")) return *refusal;
    Text& stored = app.*branch.versionText;
    stored = branchVersionFile(app, branch, version);
    // All four or none: a launcher left half on one server and half on the other fails
    // in ways the player cannot see.
    const ReplaceOutcome outcome = app.platform.replaceFiles(launcherFiles(app, branch, stored), switchJournal(app));
    return outcome.ok ? Text(branch.success)
                      : replaceFailureMessage(outcome, "提示：切换失败，且未能恢复全部文件，请不要启动游戏：");
}

Text attemptSwitch(App& app) {
    if (app.main.control("单选框1").checked()) return switchTo(app, kLiveBranch);
    if (app.main.control("单选框2").checked()) return switchTo(app, kExperienceBranch);
    return "提示：请先选中项目！";
}

// Told over the window once it shows: the start-up is no place for a box.
void tellOnceShown(App& app, Text message) {
    app.platform.afterFirstFrame([&app, message = std::move(message)] { app.platform.showMessage(message); });
}

}  // namespace

void onSwitchClicked(App& app) {
    const Text message = attemptSwitch(app);
    // Behind the message, the window already shows where the launcher points now.
    showLauncherState(app);
    app.platform.showMessage(message);
}

void recoverInterruptedSwitch(App& app) {
    const JournalPlace journal = switchJournal(app);
    // The game reads the files it was started with; they are put right once it has ended.
    if (app.platform.exists(journal.path)) {
        if (auto refusal = gameRunningMessage(
                app, "提示：游戏正在运行，上次未完成的切换将在游戏关闭后重新打开本程序时完成：")) {
            tellOnceShown(app, *refusal);
            return;
        }
    }
    const ReplaceOutcome outcome = app.platform.recoverFiles(journal, launcherTargets(app));
    if (!outcome.ok) {
        tellOnceShown(app, replaceFailureMessage(outcome, "提示：上次的切换没有完成，且未能恢复全部文件，请不要启动游戏："));
    }
}

}  // namespace vorlane
