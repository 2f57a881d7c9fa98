#include "platform/win32/command_line_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/handle.h"
#include "platform/win32/services.h"

namespace vorlane::win32 {

std::vector<Text> splitCommandLine(const std::wstring& commandLine) {
    int count = 0;
    const LocalMemory<wchar_t**> split(CommandLineToArgvW(commandLine.c_str(), &count));
    // A line that cannot be split is still no request for the window.
    if (!split) return {"\x1A"};
    std::vector<Text> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(narrow(split.get()[i]).value_or("\x1A"));
    return arguments;
}

}  // namespace vorlane::win32
