#include "switching/launcher_files.h"

#include <algorithm>

#include "switching/version_file.h"

namespace vorlane {

const Branch kLiveBranch{
    .server = "正服",
    .choice = "单选框1",
    .option = "--live",
    .versionBox = "编辑框2",
    .headBox = "编辑框4",
    .middleBox = "编辑框12",
    .versionText = &App::liveVersionText,
    .writeOrder = {"编辑框4", "编辑框5", "编辑框6", "编辑框7"},
    .success = "本程序为您成功切换成CF正服，即可进入游戏.",
};

const Branch kExperienceBranch{
    .server = "体验服",
    .choice = "单选框2",
    .option = "--experience",
    .versionBox = "编辑框1",
    .headBox = "编辑框11",
    .middleBox = "编辑框13",
    .versionText = &App::testVersionText,
    .writeOrder = {"编辑框8", "编辑框9", "编辑框10", "编辑框11"},
    .success = "本程序为您成功切换成CF体验服，即可进入游戏.",
};

const Branch* chosenBranch(const App& app) {
    for (const Branch* branch : {&kLiveBranch, &kExperienceBranch}) {
        if (app.main.control(branch->choice).checked()) return branch;
    }
    return nullptr;
}

Text branchVersionFile(const App& app, const Branch& branch, std::string_view version) {
    const Window& w = app.main;
    return versionFileText(w.control(branch.headBox).text(), version, w.control(branch.middleBox).text());
}

std::vector<FileWrite> launcherFiles(const App& app, const Branch& branch, const Text& versionFile) {
    std::vector<FileWrite> files;
    for (const char* name : branch.writeOrder) {
        const Control& box = app.main.control(name);
        if (std::string_view(name) == branch.headBox) {
            files.push_back({app.gameDir + "\\TCLS\\" + box.tag(), textToBytes(versionFile)});
        } else {
            files.push_back({app.gameDir + "\\TCLS\\config\\" + box.tag(), textToBytes(box.text())});
        }
    }
    return files;
}

std::vector<Text> launcherTargets(const App& app) {
    std::vector<Text> targets;
    for (const Branch* branch : {&kLiveBranch, &kExperienceBranch}) {
        for (const FileWrite& f : launcherFiles(app, *branch, {})) {
            if (std::find(targets.begin(), targets.end(), f.path) == targets.end()) targets.push_back(f.path);
        }
    }
    return targets;
}

// TCLS exists whenever a switch can get as far as the journal.
JournalPlace switchJournal(const App& app) { return {app.gameDir + "\\TCLS\\switch.vorlane-journal", app.gameDir}; }

}  // namespace vorlane
