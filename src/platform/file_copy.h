#pragma once
// Copying a file of any size a piece at a time: the target ends with exactly the source's
// bytes, or keeps its own.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/platform.h"

namespace vorlane {

// A regular file open for reading.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Up to `size` bytes into `into`; 0 at the end of the file, nullopt when the read fails.
    virtual std::optional<std::size_t> read(std::uint8_t* into, std::size_t size) = 0;
};

// A new regular file open for writing; closed, and not necessarily flushed, when destroyed.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    [[nodiscard]] virtual bool write(const std::uint8_t* bytes, std::size_t size) = 0;
    // Flushes every byte to disk and closes the file.
    [[nodiscard]] virtual bool finish() = 0;
};

// The file operations a copy is built from; one implementation per OS.
class CopyOps {
public:
    // A regular file on a disk, opened without waiting: null for a folder, a device, a pipe
    // or anything else that is not such a file, and for one that cannot be opened.
    virtual std::unique_ptr<FileReader> openRegular(const Text& path) = 0;
    // Creates the regular file, or truncates it.
    virtual std::unique_ptr<FileWriter> createRegular(const Text& path) = 0;
    // Moves `from` over `to` in one step, replacing it, and flushes the move to disk.
    virtual bool moveOver(const Text& from, const Text& to) = 0;
    virtual bool remove(const Text& path) = 0;

protected:
    ~CopyOps() = default;
};

CopyOutcome copyFileAtomically(CopyOps& ops, const Text& source, const Text& target,
                               const std::function<bool()>& beforeReplacing = {});

}  // namespace vorlane
