#pragma once
// Texts are GB18030 byte strings (GBK texts are the same bytes). Positions count bytes
// from 1; a search that finds nothing gives -1.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

Bytes textToBytes(std::string_view text);
Text bytesToText(const Bytes& bytes);

int textLength(std::string_view text);

// Position of the first match at or after `start` (below 1: from the first byte), or -1.
// An empty needle is never found. `ignoreCase` folds ASCII letters only.
int findText(std::string_view text, std::string_view needle, int start = 1, bool ignoreCase = false);

// `count` bytes from position `start`, clipped to the text.
Text midText(std::string_view text, int start, int count);

// Every occurrence of `from` replaced by `to`, left to right, non-overlapping.
Text replaceText(std::string_view text, std::string_view from, std::string_view to, bool caseSensitive = true);

}  // namespace vorlane
