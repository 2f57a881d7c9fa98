#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/command_line_win32.h"
#include "platform/win32/services.h"
#include "support.h"

namespace vorlane::win32 {
namespace {

// A character no text holds makes an argument that no version or option is.
TEST(CommandLine, AnArgumentThatCannotBeConvertedIsRefusable) {
    EXPECT_EQ(splitCommandLine(L"\"C:\\穿越 火线\\vorlane.exe\" --live 1.0\xD800"), (std::vector<Text>{"--live", "\x1A"}));
}

}  // namespace
}  // namespace vorlane::win32
