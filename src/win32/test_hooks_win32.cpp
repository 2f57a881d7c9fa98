#ifdef VORLANE_TEST_HOOKS
#include "win32/test_hooks_win32.h"

#include <windows.h>
#include <psapi.h>

#include <string>

#include "base/test_log_file.h"

namespace vorlane::win32 {

namespace {

double sinceProcessCreation() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& f) { return (static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

PROCESS_MEMORY_COUNTERS memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

}  // namespace

void logSinceProcessCreation(const char* key) {
    appendTestLogLine(std::string("{\"") + key + "\":" + std::to_string(sinceProcessCreation()) + "}");
}

void logPeakWorkingSet() {
    appendTestLogLine("{\"peak_working_set\":" + std::to_string(memory().PeakWorkingSetSize) + "}");
}

void logPhase(const char* name) {
    appendTestLogLine(std::string("{\"phase\":\"") + name + "\",\"ms\":" + std::to_string(sinceProcessCreation()) +
                      ",\"working_set\":" + std::to_string(memory().WorkingSetSize) + "}");
}

}  // namespace vorlane::win32
#endif
