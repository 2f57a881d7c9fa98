#include "platform/encoding.h"

namespace vorlane {
namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

Text utf16ToTextMarked(std::u16string_view wide, std::string_view mark) {
    if (auto whole = utf16ToText(wide)) return *std::move(whole);
    Text out;
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t n = isHighSurrogate(wide[i]) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1]) ? 2 : 1;
        const auto piece = utf16ToText(wide.substr(i, n));
        out += piece ? std::string_view(*piece) : mark;
        i += n;
    }
    return out;
}

}  // namespace vorlane
