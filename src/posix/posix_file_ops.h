#pragma once
// File operations on Linux, for the native tests. Paths use the program's backslash
// separators; they are turned into slashes here.
#include "platform/file_replace.h"

namespace vorlane {

std::string nativePath(const Text& path);

class PosixFileOps final : public FileOps {
public:
    bool writeNew(const Text& path, const Bytes& bytes) override;
    FileRead read(const Text& path) override;
    bool exists(const Text& path) override;
    bool keepCopy(const Text& from, const Text& to) override;
    bool moveOver(const Text& from, const Text& to) override;
    bool remove(const Text& path) override;
};

FileRead readWholeFile(const Text& path);

}  // namespace vorlane
