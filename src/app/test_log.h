#pragma once
// Test builds only: the program appends one UTF-8 JSON line per message box and, after
// start-up, after every handler and tick and after fetched pages are applied, one line
// with the window's state, to the file named by VORLANE_TEST_LOG. The shipped program has
// none of this.
#ifdef VORLANE_TEST_HOOKS
#include <functional>

#include "platform/platform.h"

namespace vorlane {

// Runs `run` (the window, or a command line) on `platform` with every message box logged.
int runWithTestLog(Platform& platform, const std::function<int(Platform&)>& run);

// The state line, also used by the unit tests.
std::string stateLine(const struct App& app, const char* event, const Control* control);

}  // namespace vorlane
#endif
