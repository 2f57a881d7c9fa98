#pragma once
// The launcher as the game left it, kept in Vorlane备份\ in the game folder before a switch
// first writes over it: the files that existed, at their places below that folder, and a
// list of the four with their lengths and checksums, written last. A backup is whole when
// its list holds and every kept file matches it.
#include <optional>
#include <vector>

#include "platform/replace_journal.h"
#include "program/app.h"

namespace vorlane {

struct KeptFile {
    Text target;  // the launcher file
    Text copy;    // where the backup keeps it
    bool existed = false;
    Fingerprint print{};
    Bytes bytes{};  // what the copy holds, when the backup is whole
};

struct Backup {
    std::vector<KeptFile> files;  // the launcher files, in the switch's order
    Text damaged;  // empty when whole, else the first file of the backup that does not match
};

// The backup in the game folder; nothing when there is none.
std::optional<Backup> readBackup(App& app);

// The launcher files hold exactly what the backup kept.
bool holdsBackup(App& app, const Backup& backup);

// Before a switch writes over launcher files this program did not write, keeps them, unless
// a whole backup already holds them; all or nothing. The refusal when that cannot be done.
std::optional<Text> keepGameLauncher(App& app);

// At start: finishes or undoes a replacement of the backup that a crash cut short.
void recoverBackup(App& app);

}  // namespace vorlane
