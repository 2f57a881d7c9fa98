// The copy's file operations on Windows: pieces read from and written to regular files.
#include <windows.h>

#include <algorithm>

#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

class Reader final : public FileReader {
public:
    explicit Reader(OwnedFile file) : file_(std::move(file)) {}
    std::optional<std::size_t> read(std::uint8_t* into, std::size_t size) override {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!ReadFile(file_.get(), into, want, &got, nullptr)) return std::nullopt;
        return got;
    }

private:
    OwnedFile file_;
};

class Writer final : public FileWriter {
public:
    explicit Writer(OwnedFile file) : file_(std::move(file)) {}
    bool write(const std::uint8_t* bytes, std::size_t size) override {
        while (size > 0) {
            DWORD wrote = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            if (!WriteFile(file_.get(), bytes, want, &wrote, nullptr) || wrote == 0) return false;
            bytes += wrote;
            size -= wrote;
        }
        return true;
    }
    bool finish() override {
        if (!FlushFileBuffers(file_.get())) return false;
        return CloseHandle(file_.release()) != FALSE;
    }

private:
    OwnedFile file_;
};

}  // namespace

std::unique_ptr<FileReader> Win32CopyOps::openRegular(const Text& path) {
    OwnedFile file = openRegularFile(path);
    return file ? std::make_unique<Reader>(std::move(file)) : nullptr;
}

std::unique_ptr<FileWriter> Win32CopyOps::createRegular(const Text& path) {
    OwnedFile file = createRegularFile(path);
    return file ? std::make_unique<Writer>(std::move(file)) : nullptr;
}

bool Win32CopyOps::moveOver(const Text& from, const Text& to) { return Win32FileOps().moveOver(from, to); }

bool Win32CopyOps::remove(const Text& path) { return Win32FileOps().remove(path); }

}  // namespace vorlane::win32
