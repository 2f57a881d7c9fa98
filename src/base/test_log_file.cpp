#ifdef VORLANE_TEST_HOOKS
#include "base/test_log_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vorlane {

namespace {
const auto kStart = std::chrono::steady_clock::now();
}

void appendTestLogLine(const std::string& line) {
    const char* path = std::getenv("VORLANE_TEST_LOG");
    if (!path || !*path) return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

long long millisecondsSinceStart() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - kStart).count();
}

}  // namespace vorlane
#endif
