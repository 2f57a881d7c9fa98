#include "online/text_between.h"

namespace vorlane {
namespace {

Text withQuotes(std::string_view marker) { return replaceText(marker, "#引号", "\"", true); }

}  // namespace

Text textBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                 int startPosition, bool ignoreCase) {
    const Text start = withQuotes(startMarker);
    const Text end = withQuotes(endMarker);
    int p = findText(text, start, startPosition, ignoreCase);
    if (p == -1) return {};
    p += textLength(start);
    // From the first byte after the start marker, so an end marker overlapping it never counts.
    const int q = findText(text, end, p, ignoreCase);
    if (q == -1) return {};
    return midText(text, p, q - p);
}

int countOccurrences(std::string_view text, std::string_view needle, bool caseSensitive) {
    int count = 0;
    for (int p = findText(text, needle, 1, !caseSensitive); p != -1;
         p = findText(text, needle, p + textLength(needle), !caseSensitive)) {
        ++count;
    }
    return count;
}

}  // namespace vorlane
