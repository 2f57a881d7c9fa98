#pragma once
// Conversions at the OS boundary. Each fails (nullopt) rather than lose or guess a
// character, so a path that cannot be converted never names a different file.
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"

namespace vorlane {

std::optional<std::u16string> textToUtf16(std::string_view text);
std::optional<Text> utf16ToText(std::u16string_view wide);
// Every character that converts, and `mark` in place of each one that does not (a lone
// surrogate, a character the code page lacks): for what the user typed or chose, which
// must never be replaced by an older text nor lose a character unseen.
inline Text utf16ToTextMarked(std::u16string_view wide, std::string_view mark) {
    if (auto whole = utf16ToText(wide)) return *std::move(whole);
    auto high = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    auto low = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    Text out;
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t n = high(wide[i]) && i + 1 < wide.size() && low(wide[i + 1]) ? 2 : 1;
        const auto piece = utf16ToText(wide.substr(i, n));
        out += piece ? std::string_view(*piece) : mark;
        i += n;
    }
    return out;
}

// For pages and logs: UTF-8 bytes to and from GB18030 texts.
std::optional<Text> utf8ToText(std::string_view utf8);
std::optional<std::string> textToUtf8(std::string_view text);

}  // namespace vorlane
