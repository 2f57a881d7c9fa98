#pragma once
// Replacing several files as one step: each target ends with exactly its old bytes or
// exactly its new bytes, and when any step fails every target keeps its old bytes. With a
// journal, a replacement cut short by a crash is finished or undone by recoverReplacement,
// so the targets also end as one whole set.
#include <vector>

#include "platform/platform.h"

namespace vorlane {

// The few file operations the replacement is built from; one implementation per OS.
class FileOps {
public:
    // Creates or truncates the file, writes every byte and flushes it to disk.
    virtual bool writeNew(const Text& path, const Bytes& bytes) = 0;
    virtual FileRead read(const Text& path) = 0;
    virtual bool exists(const Text& path) = 0;
    // Keeps the file's current bytes under a second name that does not exist yet (a hard
    // link, or a copy); a failure leaves nothing under that name.
    virtual bool keepCopy(const Text& from, const Text& to) = 0;
    // Moves `from` over `to` in one step, replacing it, and flushes the move to disk.
    virtual bool moveOver(const Text& from, const Text& to) = 0;
    virtual bool remove(const Text& path) = 0;

protected:
    ~FileOps() = default;
};

// Names of the side files kept beside a target while it is replaced.
Text stagedName(const Text& target);
Text keptName(const Text& target);

// `journal.path` (empty: none) names a file in a folder that exists; it lives only while the
// targets are being moved, and every target lies below `journal.root`. Targets are read back
// before the replacement counts as done.
ReplaceOutcome replaceFilesAtomically(FileOps& ops, const std::vector<FileWrite>& files,
                                      const JournalPlace& journal = {});

// Finishes or undoes the replacement that the journal records, and removes every side file
// of `targets` (every file such a replacement may write). Fails, naming what is not as before,
// when the files cannot be put right; the journal then stays for the next attempt. A whole
// journal it cannot read changes nothing.
ReplaceOutcome recoverReplacement(FileOps& ops, const JournalPlace& journal, const std::vector<Text>& targets);

}  // namespace vorlane
