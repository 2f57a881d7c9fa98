#include "switching/launcher_state.h"

#include <optional>
#include <string_view>

#include "program/app.h"
#include "program/controls.h"
#include "switching/launcher_backup.h"
#include "switching/launcher_files.h"

namespace vorlane {
namespace {

constexpr std::string_view kVersionStart = "<Version>";

// The text between the first <Version> and the </Version> after it.
std::optional<Text> writtenVersion(const Text& versionFile) {
    const int start = findText(versionFile, kVersionStart);
    if (start < 0) return std::nullopt;
    const int from = start + static_cast<int>(kVersionStart.size());
    const int end = findText(versionFile, "</Version>", from);
    if (end < 0) return std::nullopt;
    return midText(versionFile, from, end - from);
}

// Every file of the branch holds exactly what its switch to `version` writes.
bool holdsSwitch(const App& app, const Branch& branch, const Text& version) {
    for (const FileWrite& f : launcherFiles(app, branch, branchVersionFile(app, branch, version))) {
        const FileRead read = app.platform.readFileBytes(f.path);
        if (!read.ok || read.bytes != f.bytes) return false;
    }
    return true;
}

}  // namespace

std::optional<SwitchedSet> switchedTo(const App& app) {
    const Text versionFile = app.gameDir + "\\TCLS\\" + app.main.control(kLiveBranch.headBox).tag();
    if (auto version = writtenVersion(bytesToText(app.platform.readFileBytes(versionFile).bytes))) {
        for (const Branch* branch : {&kLiveBranch, &kExperienceBranch}) {
            if (holdsSwitch(app, *branch, *version)) return SwitchedSet{branch, *version};
        }
    }
    return std::nullopt;
}

void showLauncherState(App& app) {
    Text state = "当前客户端：未知（启动器文件不是本程序写入的）";
    const std::optional<Backup> backup = readBackup(app);
    const bool whole = backup && backup->damaged.empty();
    const bool kept = whole && holdsBackup(app, *backup);
    if (!app.platform.exists(app.gameDir + "\\TCLS\\config")) {
        state = "当前客户端：未找到启动器（TCLS），请把本程序放在CF游戏根目录下";
    } else if (auto written = switchedTo(app)) {
        state = Text("当前客户端：") + written->branch->server + " " + written->version;
    } else if (kept) {
        state = "当前客户端：游戏原来的启动器文件（未切换）";
    }
    app.main.control(controls::launcherStateLabel).setText(state);
    app.main.control(controls::restoreLauncherLink).setVisible(whole && !kept);
}

}  // namespace vorlane
