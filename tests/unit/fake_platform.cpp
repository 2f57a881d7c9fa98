#include "fake_platform.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

namespace vorlane::testing {

TempDir::TempDir() {
    // In memory where the machine offers it: every write is flushed to disk, and the crash
    // tests write thousands of files.
    const std::filesystem::path shm = "/dev/shm";
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
    std::string tmpl = (base / "vorlane-test-XXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    if (!made) std::abort();
    path_ = made;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FaultyFileOps::writeNew(const Text& path, const Bytes& bytes) {
    if (!dead() && !survives()) real_.writeNew(path, Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2));
    if (dead()) return false;
    return fails() ? lying() : real_.writeNew(path, bytes);
}

FileRead FaultyFileOps::read(const Text& path) {
    if (dead()) return {};
    FileRead read = real_.read(path);
    if (!fails()) return read;
    if (!lying()) return {};
    if (read.bytes.empty()) read.bytes.push_back(0);
    read.bytes[0] ^= 1;
    return read;
}

bool FaultyFileOps::keepCopy(const Text& from, const Text& to) {
    if (!survives()) return false;
    return fails() ? lying() : real_.keepCopy(from, to);
}

bool FaultyFileOps::moveOver(const Text& from, const Text& to) {
    if (!survives()) return false;
    return fails() ? lying() : real_.moveOver(from, to);
}

bool FaultyFileOps::remove(const Text& path) {
    return survives() && !(failed() && ++callsAfterFailure == failAgainAt) && real_.remove(path);
}

namespace {

// Reads the file with its first byte altered.
struct AlteredReader final : FileReader {
    explicit AlteredReader(std::unique_ptr<FileReader> file) : real(std::move(file)) {}
    std::optional<std::size_t> read(std::uint8_t* into, std::size_t size) override {
        const std::optional<std::size_t> n = real->read(into, size);
        if (n && *n > 0 && !std::exchange(altered, true)) into[0] ^= 1;
        return n;
    }
    std::unique_ptr<FileReader> real;
    bool altered = false;
};

}  // namespace

std::unique_ptr<FileReader> FaultyFileOps::openRegular(const Text& path) {
    if (dead()) return nullptr;
    std::unique_ptr<FileReader> reader = realCopy_.openRegular(path);
    if (!reader || !fails()) return reader;
    return lying() ? std::make_unique<AlteredReader>(std::move(reader)) : nullptr;
}

std::unique_ptr<FileWriter> FaultyFileOps::createRegular(const Text& path) {
    if (!survives() || fails()) return nullptr;
    return realCopy_.createRegular(path);
}

}  // namespace vorlane::testing
