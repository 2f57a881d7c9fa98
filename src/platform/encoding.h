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
// Every character that converts, and `mark` in place of each one that does not (a lone
// surrogate, a character the code page lacks): for what the user typed or chose, which
// must never be replaced by an older text nor lose a character unseen.
Text utf16ToTextMarked(std::u16string_view wide, std::string_view mark);

// For pages and logs: UTF-8 bytes to and from GB18030 texts.
std::optional<Text> utf8ToText(std::string_view utf8);
std::optional<std::string> textToUtf8(std::string_view text);

}  // namespace vorlane
