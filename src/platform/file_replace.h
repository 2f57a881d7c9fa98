#pragma once
// Replacing several files as one step: each target ends with exactly its old bytes or
// exactly its new bytes, and when any step fails every target keeps its old bytes.
#include <vector>

#include "platform/platform.h"

namespace vorlane {

// The few file operations the replacement is built from; one implementation per OS.
class FileOps {
public:
    // Creates or truncates the file, writes every byte and flushes it to disk.
    virtual bool writeNew(const Text& path, const Bytes& bytes) = 0;
    virtual bool exists(const Text& path) = 0;
    // Keeps the file's current bytes under a second name (a hard link, or a copy).
    virtual bool keepCopy(const Text& from, const Text& to) = 0;
    // Moves `from` over `to` in one step, replacing it.
    virtual bool moveOver(const Text& from, const Text& to) = 0;
    virtual bool remove(const Text& path) = 0;

protected:
    ~FileOps() = default;
};

// Names of the side files kept beside a target while it is replaced.
Text stagedName(const Text& target);
Text keptName(const Text& target);

ReplaceOutcome replaceFilesAtomically(FileOps& ops, const std::vector<FileWrite>& files);

}  // namespace vorlane
