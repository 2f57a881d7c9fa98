#pragma once
// Small text records that say whether they are whole: lines ended by CR LF, the last one
// "end" and a checksum of every byte before it, so a record cut short or damaged never
// reads as a record. The switch journal and the backup list are written this way.
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/text.h"

namespace vorlane {

inline constexpr std::string_view kLineEnd = "\r\n";

// 64-bit FNV-1a: any change of one byte changes it.
std::uint64_t checksumOf(std::string_view bytes);

Text sealedText(const Text& body);
// The body of a whole record; nothing when it was cut short or damaged.
std::optional<std::string_view> sealedBody(std::string_view text);

// Fields of a line: a number is decimal, a checksum 16 hex digits; each takes the field and
// the space after it off the line.
Text checksumField(std::uint64_t value);
std::optional<std::uint64_t> takeNumber(std::string_view& line);
std::optional<std::uint64_t> takeChecksum(std::string_view& line);
std::optional<bool> takeFlag(std::string_view& line);  // "1" or "0"

}  // namespace vorlane
