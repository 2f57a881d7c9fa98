#pragma once
// The program's command line: nothing (the window), or one switch of the launcher files
// without the window, for a shortcut or a script.
#include <vector>

#include "platform/platform.h"

namespace vorlane {

struct Branch;

struct CommandLine {
    enum class Kind { Window, Switch, Usage };
    Kind kind = Kind::Window;
    const Branch* branch = nullptr;  // the server to switch to
    Text version{};
    bool start = false;  // start the client once switched
};

// `--live VERSION` or `--experience VERSION`, with `--start` before or after. Anything
// else (no version, an extra one, both servers, a version that is an option) asks for
// the usage. No arguments: the window.
CommandLine parseCommandLine(const std::vector<Text>& arguments);

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // the player was told why
inline constexpr int kExitUsage = 2;

// What a command line other than the window's asks for, told in message boxes only when
// something is refused or fails; the exit code. `anotherCopyRuns` in this game folder: it
// holds the folder, and the player is sent to its window.
int runCommandLine(Platform& platform, const CommandLine& command, bool anotherCopyRuns);

}  // namespace vorlane
