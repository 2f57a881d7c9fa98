#pragma once
// Test builds only: start-up figures for the benchmarks, measured from the moment the
// process was created. In other builds a phase is not logged.
namespace vorlane::win32 {

#ifdef VORLANE_TEST_HOOKS
void logSinceProcessCreation(const char* key);  // {"key": milliseconds}
void logPeakWorkingSet();
// {"phase": name, "ms": milliseconds, "working_set": bytes}: a step of the start-up.
void logPhase(const char* name);
#else
inline void logPhase(const char*) {}
#endif

}  // namespace vorlane::win32
