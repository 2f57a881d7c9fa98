#include "switching/launcher_files.h"

#include <algorithm>

#include "program/controls.h"
#include "switching/version_file.h"

namespace vorlane {

const Branch kLiveBranch{
    .server = "正服",
    .choice = controls::liveChoice,
    .option = "--live",
    .versionBox = controls::liveVersionBox,
    .headBox = controls::liveVersionHeadTemplate,
    .middleBox = controls::liveVersionMiddleTemplate,
    .versionText = &App::liveVersionText,
    .writeOrder = {controls::liveVersionHeadTemplate, controls::liveDirServersTemplate,
                   controls::liveVersionServersTemplate, controls::liveServerChoiceTemplate},
    .success = "本程序为您成功切换成CF正服，即可进入游戏.",
};

const Branch kExperienceBranch{
    .server = "体验服",
    .choice = controls::experienceChoice,
    .option = "--experience",
    .versionBox = controls::experienceVersionBox,
    .headBox = controls::experienceVersionHeadTemplate,
    .middleBox = controls::experienceVersionMiddleTemplate,
    .versionText = &App::testVersionText,
    .writeOrder = {controls::experienceServerChoiceTemplate, controls::experienceVersionServersTemplate,
                   controls::experienceDirServersTemplate, controls::experienceVersionHeadTemplate},
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
