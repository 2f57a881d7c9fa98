#pragma once
// What the player is told when the launcher files cannot be switched, or put back.
#include <optional>
#include <string_view>

#include "program/app.h"

namespace vorlane {

// The refusal while a program of the game folder runs, or while that cannot be ruled out;
// nothing when none runs. `runs` comes before the program's path.
std::optional<Text> gameRunningMessage(App& app, std::string_view runs);

// A replacement or a recovery that failed. `notRestored` heads the list of files an undo
// could not put back, when there are any.
Text replaceFailureMessage(const ReplaceOutcome& outcome, std::string_view notRestored);

}  // namespace vorlane
