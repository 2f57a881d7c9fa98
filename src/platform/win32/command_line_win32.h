#pragma once
// Command lines as Windows splits them (CommandLineToArgvW).
#include <string>
#include <vector>

#include "platform/text.h"

namespace vorlane::win32 {

// The arguments of `commandLine`, the program's name left out. One that cannot be converted
// becomes a control character, which no version or option is, so it is refused as what it is.
std::vector<Text> splitCommandLine(const std::wstring& commandLine);

}  // namespace vorlane::win32
