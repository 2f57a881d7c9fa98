#pragma once
// Copies on Linux, for the native tests; paths as for PosixFileOps.
#include "platform/file_copy.h"

namespace vorlane {

class PosixCopyOps final : public CopyOps {
public:
    std::unique_ptr<FileReader> openRegular(const Text& path) override;
    std::unique_ptr<FileWriter> createRegular(const Text& path) override;
    bool moveOver(const Text& from, const Text& to) override;
    bool remove(const Text& path) override;
};

}  // namespace vorlane
