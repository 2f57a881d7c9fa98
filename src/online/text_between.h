#pragma once
// Reading values out of pages that are not otherwise parsed: the bytes between two markers.
#include <string_view>

#include "base/text.h"

namespace vorlane {

// The bytes between the first startMarker at or after startPosition (below 1: from the
// first byte) and the first endMarker after it; empty when either is missing. "#引号" in
// a marker stands for a double quote.
Text textBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                 int startPosition = 0, bool ignoreCase = false);

// Non-overlapping occurrences of needle, counted left to right; an empty needle counts 0.
int countOccurrences(std::string_view text, std::string_view needle, bool caseSensitive = false);

}  // namespace vorlane
