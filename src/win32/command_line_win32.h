#pragma once
// Command lines as Windows splits them (CommandLineToArgvW): the program's own, and the
// ones it writes into shortcuts.
#include <string>
#include <vector>

#include "base/text.h"

namespace vorlane::win32 {

// The arguments of `commandLine`, the program's name left out. One that cannot be converted
// becomes a control character, which no version or option is, so it is refused as what it is.
std::vector<Text> splitCommandLine(const std::wstring& commandLine);

// The arguments quoted so that CommandLineToArgvW gives each back exactly: spaces, quotes
// and backslashes before them included.
std::wstring joinArguments(const std::vector<std::wstring>& arguments);

}  // namespace vorlane::win32
