#include <windows.h>

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

bool hasGb18030() { return IsValidCodePage(54936) != FALSE; }

TEST(Encoding, GbkTextsRoundTripExactly) {
    struct Case {
        Text text;
        std::wstring wide;
        std::string utf8;
    };
    const Case cases[] = {
        {"", L"", ""},
        {"Client.exe", L"Client.exe", "Client.exe"},
        {"提示：请填写版本号！", L"提示：请填写版本号！", reinterpret_cast<const char*>(u8"提示：请填写版本号！")},
        {"D:\\穿越火线 CF\\TCLS", L"D:\\穿越火线 CF\\TCLS", reinterpret_cast<const char*>(u8"D:\\穿越火线 CF\\TCLS")},
        {"ā", L"ā", reinterpret_cast<const char*>(u8"ā")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(widen(c.text), c.wide);
        EXPECT_EQ(narrow(c.wide), c.text);
        EXPECT_EQ(textToUtf16(c.text), std::u16string(c.wide.begin(), c.wide.end()));
        EXPECT_EQ(utf16ToText(std::u16string(c.wide.begin(), c.wide.end())), c.text);
        EXPECT_EQ(utf8ToText(c.utf8), c.text);
        EXPECT_EQ(textToUtf8(c.text), c.utf8);
    }
}

TEST(Encoding, CharactersBeyondGbkRoundTripOnlyWithGb18030) {
    // U+1F600 and U+D55C exist in GB18030 only, as four-byte sequences.
    struct Case {
        Text gb18030;
        std::wstring wide;
    };
    const Case cases[] = {{"\x94\x39\xFC\x36", L"\U0001F600"}, {"\x83\x36\x84\x33", L"\uD55C"}};
    for (const Case& c : cases) {
        if (hasGb18030()) {
            EXPECT_EQ(narrow(c.wide), c.gb18030);
            EXPECT_EQ(widen(c.gb18030), c.wide);
        } else {
            EXPECT_EQ(narrow(c.wide), std::nullopt);
            EXPECT_EQ(widen(c.gb18030), std::nullopt);
            EXPECT_EQ(narrow(L"a" + c.wide + L"b"), std::nullopt);
        }
    }
}

TEST(Encoding, MalformedInputFails) {
    for (std::string_view bad : {std::string_view("\x81"), std::string_view("ab\x81"), std::string_view("\xFF\xFF")}) {
        EXPECT_EQ(widen(bad), std::nullopt);
    }
    EXPECT_EQ(narrow(std::wstring(1, wchar_t(0xD800))), std::nullopt);
    EXPECT_EQ(utf8ToText("\xC3\x28"), std::nullopt);
    EXPECT_EQ(utf8ToText("\xED\xA0\x80"), std::nullopt);
}

TEST(SystemPath, LongAbsolutePathsGetTheLiteralPrefix) {
    const std::wstring longName(300, L'名');
    const Text longText = narrow(longName).value();
    struct Case {
        Text path;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {"C:\\游戏\\TCLS\\Client.exe", L"C:\\游戏\\TCLS\\Client.exe"},
        {"C:\\" + longText, L"\\\\?\\C:\\" + longName},
        {"C:\\a\\.\\" + longText, L"\\\\?\\C:\\a\\" + longName},
        {"\\\\server\\share\\" + longText, L"\\\\?\\UNC\\server\\share\\" + longName},
        {"\\\\?\\C:\\" + longText, L"\\\\?\\C:\\" + longName},
        {Text("C:\\a\0b.txt", 10), std::nullopt},
        {"C:\\bad\x81.txt", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 40));
        EXPECT_EQ(systemPath(c.path), c.expected);
    }
}

}  // namespace
}  // namespace vorlane::win32
