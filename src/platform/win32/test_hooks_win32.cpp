#ifdef VORLANE_TEST_HOOKS
#include "platform/win32/test_hooks_win32.h"

#include <windows.h>
#include <psapi.h>

#include <string>

#include "platform/test_log_file.h"

namespace vorlane::win32 {

void logSinceProcessCreation(const char* key) {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& f) { return (static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    double ms = static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
    appendTestLogLine(std::string("{\"") + key + "\":" + std::to_string(ms) + "}");
}

void logPeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return;
    appendTestLogLine("{\"peak_working_set\":" + std::to_string(counters.PeakWorkingSetSize) + "}");
}

}  // namespace vorlane::win32
#endif
