#include "win32/command_line_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "win32/handle.h"
#include "win32/services.h"

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

// A quote is written \", and backslashes are doubled only where a quote follows them.
std::wstring joinArguments(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        if (!line.empty()) line += L' ';
        if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
            line += argument;
            continue;
        }
        line += L'"';
        std::size_t backslashes = 0;
        for (wchar_t c : argument) {
            if (c == L'\\') {
                ++backslashes;
                continue;
            }
            line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
            line += c;
            backslashes = 0;
        }
        line.append(2 * backslashes, L'\\');
        line += L'"';
    }
    return line;
}

}  // namespace vorlane::win32
