// Marker extraction on any page bytes and any markers: textBetween and countOccurrences.
// Fields: text, start marker (also the counted needle), end marker.
#include <cstdint>
#include <optional>

#include "fuzz_input.h"
#include "online/text_between.h"

namespace vorlane::fuzz {
namespace {

std::optional<std::size_t> firstMatch(std::string_view text, std::string_view needle, std::size_t from,
                                      bool ignoreCase) {
    if (needle.empty()) return std::nullopt;
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        if (matchesAt(text, at, needle, ignoreCase)) return at;
    }
    return std::nullopt;
}

void checkBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker, int startPosition,
                  bool ignoreCase) {
    const Text got = textBetween(text, startMarker, endMarker, startPosition, ignoreCase);
    const Text a = replaceText(startMarker, "#引号", "\"");
    const Text b = replaceText(endMarker, "#引号", "\"");
    const std::size_t from = startPosition < 1 ? 0 : static_cast<std::size_t>(startPosition) - 1;
    const auto startAt = firstMatch(text, a, from, ignoreCase);
    const std::size_t value = startAt ? *startAt + a.size() : 0;
    const auto endAt = startAt ? firstMatch(text, b, value, ignoreCase) : std::nullopt;
    if (got.empty()) {
        require(!endAt || *endAt == value, "textBetween misses the bytes between the markers");
        return;
    }
    require(startAt.has_value(), "textBetween gives bytes without a start marker");
    require(text.substr(value, got.size()) == got, "the result is not the bytes after the first start marker");
    require(matchesAt(text, value + got.size(), b, ignoreCase), "the result is not followed by an end marker");
    require(endAt && *endAt == value + got.size(), "the result runs past the first end marker");
}

void checkCount(std::string_view text, std::string_view needle, bool caseSensitive) {
    const int count = countOccurrences(text, needle, caseSensitive);
    require(count >= 0, "a negative count");
    require(static_cast<std::uint64_t>(count) * needle.size() <= text.size(), "more occurrences than fit the text");
    int expected = 0;
    for (auto at = firstMatch(text, needle, 0, !caseSensitive); at;
         at = firstMatch(text, needle, *at + needle.size(), !caseSensitive)) {
        ++expected;
    }
    require(count == expected, "countOccurrences is not the number of non-overlapping matches");
}

}  // namespace
}  // namespace vorlane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorlane::fuzz;
    const Input in = readInput(data, size);
    checkBetween(in.fields[0], in.fields[1], in.fields[2], in.first, (in.flags & 1) != 0);
    checkCount(in.fields[0], in.fields[1], (in.flags & 2) != 0);
    return 0;
}
