#pragma once
// The four launcher files a switch writes for each server, and the journal that makes
// the four one step.
#include <array>
#include <string_view>
#include <vector>

#include "program/app.h"

namespace vorlane {

// What one server's switch reads and writes. The version file goes under TCLS\ and is
// named by the head box's tag; every other file goes under TCLS\config\ with the content
// of its box.
struct Branch {
    const char* server;  // as the state line names it
    const char* choice;  // the radio button that chooses it
    const char* option;  // what chooses it on the command line
    const char* versionBox;
    const char* headBox;
    const char* middleBox;
    Text App::*versionText;
    std::array<const char*, 4> writeOrder;
    const char* success;
};

extern const Branch kLiveBranch;
extern const Branch kExperienceBranch;

// The branch whose radio button is checked; nullptr before the player has chosen.
const Branch* chosenBranch(const App& app);

Text branchVersionFile(const App& app, const Branch& branch, std::string_view version);
// The branch's files in its write order, the version file holding `versionFile`.
std::vector<FileWrite> launcherFiles(const App& app, const Branch& branch, const Text& versionFile);
// Every file either switch writes.
std::vector<Text> launcherTargets(const App& app);
// Beside the version file, naming the files below the game folder.
JournalPlace switchJournal(const App& app);

}  // namespace vorlane
