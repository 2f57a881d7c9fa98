// The byte-wise text operations: findText, midText and replaceText on any bytes, with any
// start, count and case setting. Fields: text, needle (also the replaced text), replacement.
#include <algorithm>
#include <cstdint>

#include "base/text.h"
#include "fuzz_input.h"

namespace vorlane::fuzz {
namespace {

std::size_t firstByte(int start) { return start < 1 ? 0 : static_cast<std::size_t>(start) - 1; }

void checkFind(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
    const int p = findText(text, needle, start, ignoreCase);
    if (needle.empty()) {
        require(p == -1, "findText finds an empty needle");
        return;
    }
    const std::size_t from = firstByte(start);
    const std::size_t end = p == -1 ? text.size() : static_cast<std::size_t>(p) - 1;
    if (p != -1) {
        require(p >= 1 && end >= from, "findText gives a position before start");
        require(matchesAt(text, end, needle, ignoreCase), "findText gives a position that does not match");
    }
    for (std::size_t at = from; at < end; ++at) {
        require(!matchesAt(text, at, needle, ignoreCase), "findText misses an earlier match");
    }
}

void checkMid(std::string_view text, int start, int count) {
    const Text mid = midText(text, start, count);
    const std::size_t from = firstByte(start);
    const std::size_t room = from < text.size() ? text.size() - from : 0;
    const std::size_t want = count <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(count), room);
    require(mid.size() == want, "midText is not count bytes clipped to the text");
    require(want == 0 || text.substr(from, want) == mid, "midText is not the bytes at start");
}

void checkReplace(std::string_view text, std::string_view from, std::string_view to, bool caseSensitive) {
    const Text replaced = replaceText(text, from, to, caseSensitive);
    std::size_t hits = 0;
    if (!from.empty()) {
        for (std::size_t at = 0; at + from.size() <= text.size();) {
            if (matchesAt(text, at, from, !caseSensitive)) {
                ++hits;
                at += from.size();
            } else {
                ++at;
            }
        }
    }
    if (hits == 0) require(replaced == text, "replaceText changes a text without a match");
    require(replaced.size() + hits * from.size() == text.size() + hits * to.size(),
            "replaceText does not replace each non-overlapping match once");
    require(replaceText(text, from, from, true) == text, "replacing a text by itself changes it");
}

}  // namespace
}  // namespace vorlane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorlane;
    using namespace vorlane::fuzz;
    const Input in = readInput(data, size);
    const std::string_view text = in.fields[0];
    require(textLength(text) == static_cast<int>(text.size()), "textLength is not the byte count");
    require(bytesToText(textToBytes(text)) == text, "texts and bytes do not round-trip");
    checkFind(text, in.fields[1], in.first, (in.flags & 1) != 0);
    checkMid(text, in.first, in.second);
    checkReplace(text, in.fields[1], in.fields[2], (in.flags & 2) != 0);
    return 0;
}
