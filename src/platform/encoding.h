#pragma once
// Conversions at the OS boundary. Each fails (nullopt) rather than lose or guess a
// character, so a path that cannot be converted never names a different file.
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace vorlane {

std::optional<std::u16string> textToUtf16(std::string_view text);
std::optional<Text> utf16ToText(std::u16string_view wide);

// For pages and logs: UTF-8 bytes to and from GB18030 texts.
std::optional<Text> utf8ToText(std::string_view utf8);
std::optional<std::string> textToUtf8(std::string_view text);

}  // namespace vorlane
