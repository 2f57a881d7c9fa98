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

// 透明标签16: which server the launcher files point at, read from the files themselves;
// 透明标签17, which puts back the game's own files, while a whole backup of them differs
// from the files.
void showLauncherState(App& app);
}  // namespace vorlane
