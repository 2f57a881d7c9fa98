#pragma once
// Test builds only: start-up figures for the benchmarks, measured from the moment the
// process was created.
#ifdef VORLANE_TEST_HOOKS
namespace vorlane::win32 {

void logSinceProcessCreation(const char* key);  // {"key": milliseconds}
void logPeakWorkingSet();

}  // namespace vorlane::win32
#endif
