#pragma once
#include <optional>

#include "base/text.h"

namespace vorlane {
struct App;
struct Branch;

void onSwitchClicked(App& app);

// A switch of the launcher files to the branch's server with `version`, with every guard:
// done, or the refusal or failure the player is to be told of.
struct SwitchResult {
    bool done = false;
    Text message;  // the success message when done
};
SwitchResult switchLauncher(App& app, const Branch& branch, const Text& version);

// At start, before any input: finishes or undoes a switch that a crash cut short. What the
// player must be told when that cannot be done now; nothing when it was.
std::optional<Text> recoverInterruptedSwitch(App& app);
}  // namespace vorlane
