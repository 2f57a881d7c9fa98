#pragma once
#include <optional>

#include "base/text.h"

namespace vorlane {
struct App;
struct Branch;

// The server and version a switch of this program wrote into the launcher files, when all
// four hold exactly that switch's bytes.
struct SwitchedSet {
    const Branch* branch;
    Text version;
};
std::optional<SwitchedSet> switchedTo(const App& app);

// The state line: which server the launcher files point at, read from the files
// themselves; and the restore link, shown while a whole backup of the game's own files
// differs from the files.
void showLauncherState(App& app);
}  // namespace vorlane
