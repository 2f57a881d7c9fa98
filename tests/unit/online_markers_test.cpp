#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "online/page_labels.h"
#include "online/page_text.h"
#include "online/release_compare.h"
#include "online/text_between.h"

namespace vorlane {
namespace {

std::string utf8(std::u8string_view s) { return {s.begin(), s.end()}; }

HttpResponse response(const std::string& body, const char* contentType = "") {
    return {Bytes(body.begin(), body.end()), contentType};
}

TEST(OnlineTextBetween, TakesTheBytesBetweenTheFirstStartMarkerAndTheEndMarkerAfterIt) {
    struct Case {
        std::string text, start, end;
        int startPosition;
        bool ignoreCase;
        std::string expected;
    };
    const Case cases[] = {
        {"xxcfs1.0iiiyy", "cfs", "iii", -1, false, "1.0"},
        {"xxcfs1.0iiiyy", "cfs", "iii", 0, false, "1.0"},
        {"cfs1.0iii", "cfs", "iii", -1, false, "1.0"},  // markers at the very start
        {"cfv2.0vvvv", "cfv", "vvvv", 0, false, "2.0"},
        {"cfvvvv", "cfv", "vvvv", 0, false, ""},  // the only end marker begins inside the start marker
        {"a iii b cfs 9 iii", "cfs", "iii", -1, false, " 9 "},
        {"iii cfs 9", "cfs", "iii", 0, false, ""},  // an end marker only before the start marker
        {"cfsiii", "cfs", "iii", -1, false, ""},
        {"no markers", "cfs", "iii", -1, false, ""},
        {"", "cfs", "iii", -1, false, ""},
        {"cfs1iii cfs2iii", "cfs", "iii", 0, false, "1"},
        {"cfs1 cfs2iii", "cfs", "iii", 0, false, "1 cfs2"},  // later start markers are never tried
        {"cfs1iii cfs2iii", "cfs", "iii", 2, false, "2"},
        {"CFS1.0iii", "cfs", "iii", -1, false, ""},
        {"CFS1.0iii", "cfs", "iii", -1, true, "1.0"},
        {"cfs1.0III", "CFS", "iii", -1, true, "1.0"},
        {"<a href=\"x\">", "href=#引号", "#引号", 0, false, "x"},
        {"<a href=#引号x#引号>", "href=#引号", "#引号", 0, false, ""},  // the searched text is never rewritten
        {"穿越火线（CrossFire）v1.2.3完整客户端:", "穿越火线（CrossFire）v", "完整客户端:", 0, false, "1.2.3"},
        {"完整客户端: 穿越火线（CrossFire）v", "穿越火线（CrossFire）v", "完整客户端:", 0, false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textBetween(c.text, c.start, c.end, c.startPosition, c.ignoreCase), c.expected)
            << c.text << " / " << c.start << " / " << c.end;
    }
}

TEST(OnlineCountOccurrences, CountsNonOverlappingMatchesFoldingCaseByDefault) {
    EXPECT_EQ(countOccurrences("1.0.123", "."), 2);
    EXPECT_EQ(countOccurrences("", "."), 0);
    EXPECT_EQ(countOccurrences("aaa", "aa"), 1);
    EXPECT_EQ(countOccurrences("aAaA", "aa"), 2);
    EXPECT_EQ(countOccurrences("aAaA", "aa", true), 0);
    EXPECT_EQ(countOccurrences("abc", ""), 0);
}

TEST(OnlinePageText, ConvertsPagesDeclaredUtf8AndKeepsEveryOtherPageByteForByte) {
    const std::string chinese = utf8(u8"穿越火线（CrossFire）v1.2完整客户端:");
    const std::string gbk = "穿越火线（CrossFire）v1.2完整客户端:";
    struct Case {
        std::string body;
        const char* contentType;
        std::string expected;
    };
    const Case cases[] = {
        {chinese, "text/html; charset=UTF-8", gbk},
        {chinese, "text/html;charset=\"utf-8\"", gbk},
        {chinese, "text/html; charset=utf8", gbk},
        {"<head><meta charset=\"utf-8\">" + chinese, "text/html", "<head><meta charset=\"utf-8\">" + gbk},
        {"<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">" + chinese, "",
         "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">" + gbk},
        {"<meta name=\"charset guide\"><meta charset=utf-8>" + chinese, "",
         "<meta name=\"charset guide\"><meta charset=utf-8>" + gbk},
        {"\xEF\xBB\xBF" + chinese, "", gbk},
        {chinese, "", chinese},  // no charset: as delivered, so the markers cannot match
        {"<meta charset=\"utf-8\">" + chinese, "text/html; charset=gbk", "<meta charset=\"utf-8\">" + chinese},
        {"<meta charset=\"gbk\">" + gbk, "", "<meta charset=\"gbk\">" + gbk},
        {gbk, "text/html; charset=GB2312", gbk},
        {gbk, "text/html; charset=utf-8", gbk},  // not valid UTF-8: kept as it came
        // cut at the size limit inside the last character: that character is dropped
        {chinese + utf8(u8"端").substr(0, 2), "text/html; charset=utf-8", gbk},
        {chinese + utf8(u8"😀").substr(0, 3), "text/html; charset=utf-8", gbk},
        // only the first 1024 bytes are looked at for a <meta>
        {std::string(1004, ' ') + "<meta charset=utf-8>" + chinese, "", std::string(1004, ' ') + "<meta charset=utf-8>" + gbk},
        {std::string(1006, ' ') + "<meta charset=utf-8>" + chinese, "", std::string(1006, ' ') + "<meta charset=utf-8>" + chinese},
        {"<meta charset=utf-8" + chinese, "", "<meta charset=utf-8" + gbk},  // a tag left open
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pageText(response(c.body, c.contentType)), c.expected) << c.contentType << " / " << c.body;
    }
}

TEST(OnlinePageText, LetsTheChineseMarkersMatchAUtf8PageOnlyAfterConversion) {
    const std::string page = utf8(u8"<p>穿越火线（CrossFire）v2.0.1完整客户端:</p>");
    EXPECT_EQ(textBetween(bytesToText(textToBytes(page)), "穿越火线（CrossFire）v", "完整客户端:"), "");
    EXPECT_EQ(textBetween(pageText(response(page, "text/html; charset=utf-8")), "穿越火线（CrossFire）v", "完整客户端:"),
              "2.0.1");
}

// A label over 64 bytes counts as missing; pages an attacker could send, at the 4 MiB a
// fetch keeps, give the right labels.
TEST(OnlinePageLabels, CutsEachLabelOfAtMost64BytesAndTreatsALongerOneAsMissing) {
    const std::string v64(64, '7'), live = "穿越火线（CrossFire）v", end = "完整客户端:";
    std::string flood = "<meta charset=utf-8 ";  // never closed, nor any after it
    while (flood.size() < (4u << 20) - 64) flood += "<meta";
    const std::string marked = utf8(u8"穿越火线（CrossFire）v2.0.1完整客户端:");
    const std::tuple<PageDigest, std::string, std::string> cases[] = {
        {newestReleaseLabel, "cfs" + v64 + "iii", v64},       {newestReleaseLabel, "cfs" + v64 + "8iii", ""},
        {experienceVersionLabel, "cfv" + v64 + "vvvv", v64},  {experienceVersionLabel, "cfv" + v64 + "8vvvv", ""},
        {liveVersionLabel, live + v64 + end, v64},            {liveVersionLabel, live + v64 + "8" + end, ""},
        {liveVersionLabel, flood + marked, "2.0.1"},
        {liveVersionLabel, flood.substr(1) + marked, ""},  // no charset: the UTF-8 markers never match
        {liveVersionLabel, live + std::string((4u << 20) - 64, '1') + end, ""},
    };
    for (const auto& [digest, body, expected] : cases) EXPECT_EQ(digest(response(body)), expected) << body.size();
}

TEST(OnlineReleaseCompare, ComparesDotSeparatedNumbersNumerically) {
    struct Case {
        const char* candidate;
        const char* current;
        bool newer;
    };
    const Case cases[] = {
        {"1.1", "1.0", true},
        {"1.0", "1.0", false},
        {"0.9", "1.0", false},
        {"2", "1.0", true},
        {"1.0.1", "1.0", true},
        {"1.0.0", "1.0", false},
        {"1", "1.0.0", false},
        {"10.0", "9.9", true},
        {"1.10", "1.9", true},
        {"01.1", "1.0", true},
        {"123456789012345678901234.0", "99999999999999999999.0", true},
        {"", "1.0", false},
        {"beta", "1.0", false},
        {"1.1a", "1.0", false},
        {"1..1", "1.0", false},
        {"1.1.", "1.0", false},
        {" 1.1", "1.0", false},
        {"1.1", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isNewerRelease(c.candidate, c.current), c.newer) << c.candidate << " vs " << c.current;
    }
}

}  // namespace
}  // namespace vorlane
