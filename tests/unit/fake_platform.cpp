#include "fake_platform.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vorlane::testing {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vorlane-test-XXXXXX").string();
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
    return !fails() && real_.writeNew(path, bytes);
}

bool FaultyFileOps::keepCopy(const Text& from, const Text& to) { return !fails() && real_.keepCopy(from, to); }

bool FaultyFileOps::moveOver(const Text& from, const Text& to) { return !fails() && real_.moveOver(from, to); }

}  // namespace vorlane::testing
