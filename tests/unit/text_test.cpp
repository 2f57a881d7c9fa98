#include <gtest/gtest.h>

#include "base/encoding.h"
#include "base/text.h"

namespace vorlane {
namespace {

TEST(FindText, PositionsCountBytesFromOneAndMissIsMinusOne) {
    struct Case {
        const char* text;
        const char* needle;
        int start;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"abcabc", "abc", 1, false, 1},   {"abcabc", "abc", 2, false, 4},  {"abcabc", "abc", 5, false, -1},
        {"abcabc", "abc", 0, false, 1},   {"abcabc", "abc", -7, false, 1}, {"abc", "", 1, false, -1},
        {"", "a", 1, false, -1},          {"ab", "abc", 1, false, -1},     {"xxCFS", "cfs", 1, false, -1},
        {"xxCFS", "cfs", 1, true, 3},     {"xxcfs", "CFS", 1, true, 3},    {"abc", "c", 3, false, 3},
        {"abc", "c", 4, false, -1},       {"穿越v1", "v", 1, false, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findText(c.text, c.needle, c.start, c.ignoreCase), c.expected)
            << c.text << " / " << c.needle << " from " << c.start;
    }
}

TEST(MidText, TakesBytesFromAOneBasedStartClippedToTheText) {
    EXPECT_EQ(midText("hello", 2, 3), "ell");
    EXPECT_EQ(midText("hello", 4, 10), "lo");
    EXPECT_EQ(midText("hello", 6, 1), "");
    EXPECT_EQ(midText("hello", 0, 2), "he");
    EXPECT_EQ(midText("hello", 2, 0), "");
    EXPECT_EQ(midText("hello", 2, -1), "");
}

TEST(ReplaceText, ReplacesEveryOccurrenceLeftToRightWithoutRescanning) {
    EXPECT_EQ(replaceText("href=#引号x#引号", "#引号", "\""), "href=\"x\"");
    EXPECT_EQ(replaceText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceText("abab", "ab", "abab"), "abababab");
    EXPECT_EQ(replaceText("none", "x", "y"), "none");
    EXPECT_EQ(replaceText("keep", "", "y"), "keep");
    EXPECT_EQ(replaceText("AbAb", "ab", "x", false), "xx");
    EXPECT_EQ(replaceText("AbAb", "ab", "x", true), "AbAb");
}

TEST(Literals, AreCompiledToGbkBytes) {
    // "提示" in GBK; the full-width colon is A3 BA.
    EXPECT_EQ(Text("提示："), Text("\xCC\xE1\xCA\xBE\xA3\xBA"));
    EXPECT_EQ(textLength("穿越火线（CrossFire）v"), 22);
    EXPECT_EQ(textLength("完整客户端:"), 11);
}

TEST(Gb18030, RoundTripsThroughUtf16IncludingCharactersOutsideGbk) {
    const std::u16string samples[] = {u"", u"plain ascii", u"体验服转换到正服", u"C:\\游戏 文件夹\\TCLS",
                                      u"\u20AC\u00E9\U0001F600"};
    for (const auto& wide : samples) {
        auto text = utf16ToText(wide);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(textToUtf16(*text), wide);
    }
    EXPECT_EQ(utf16ToText(u"体验服"), Text("体验服"));
}

TEST(Gb18030, RefusesWhatItCannotConvertExactly) {
    EXPECT_FALSE(utf16ToText(std::u16string(1, char16_t{0xD800})).has_value());  // lone surrogate
    EXPECT_FALSE(textToUtf16("\x81").has_value());                              // cut lead byte
    EXPECT_FALSE(utf8ToText("\xC3").has_value());
    EXPECT_EQ(utf8ToText("\xE7\xA9\xBF\xE8\xB6\x8A"), Text("穿越"));
}

TEST(Gb18030, MarksEachCharacterItCannotConvertAndKeepsTheRest) {
    const char16_t high = 0xD83D, low = 0xDE00;
    const std::pair<std::u16string, Text> cases[] = {
        {u"1.0." + std::u16string(1, high) + u"2", "1.0.\x1A" "2"},
        {std::u16string{low, high} + u"体验", "\x1A\x1A体验"},  // halves in the wrong order: two lone ones
        {u"体验" + std::u16string{high, low}, utf16ToText(u"体验\U0001F600").value()},
    };
    for (const auto& [wide, expected] : cases) EXPECT_EQ(utf16ToTextMarked(wide, "\x1A"), expected);
}

}  // namespace
}  // namespace vorlane
