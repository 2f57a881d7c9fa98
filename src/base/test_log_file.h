#pragma once
// Test builds only: appends one line to the file named by VORLANE_TEST_LOG, and tells
// how long the process has been running.
#ifdef VORLANE_TEST_HOOKS
#include <string>

namespace vorlane {

void appendTestLogLine(const std::string& line);
long long millisecondsSinceStart();

}  // namespace vorlane
#endif
