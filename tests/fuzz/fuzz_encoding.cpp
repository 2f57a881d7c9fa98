// The conversions at the OS boundary. The input bytes are tried three ways: as UTF-16LE
// code units, as a GB18030 text and as UTF-8. Whatever converts must come back unchanged,
// and every well-formed UTF-16 or UTF-8 input must convert: GB18030 holds all of Unicode.
#include <algorithm>
#include <cstdint>
#include <string>

#include "base/encoding.h"
#include "fuzz_input.h"

namespace vorlane::fuzz {
namespace {

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Private-use code points whose GB18030 codes later standards gave to real characters;
// glibc decodes those codes to the real characters and has no code left for these, so a
// text holding one of them is refused, never converted.
constexpr char16_t kUnmappedPrivateUse[] = {
    0xE78D, 0xE78E, 0xE78F, 0xE790, 0xE791, 0xE792, 0xE793, 0xE794, 0xE795, 0xE796, 0xE816, 0xE817,
    0xE818, 0xE81E, 0xE826, 0xE82B, 0xE82C, 0xE831, 0xE832, 0xE83B, 0xE843, 0xE854, 0xE855, 0xE864,
};

bool mappable(char32_t c) {
    return std::find(std::begin(kUnmappedPrivateUse), std::end(kUnmappedPrivateUse), c) ==
           std::end(kUnmappedPrivateUse);
}

bool wellFormed(std::u16string_view units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (isHigh(units[i]) && i + 1 < units.size() && isLow(units[i + 1])) {
            ++i;
        } else if (isHigh(units[i]) || isLow(units[i])) {
            return false;
        }
    }
    return true;
}

// Shortest forms only, no surrogates, nothing above U+10FFFF; `allMappable` tells whether
// every character has a GB18030 code.
bool wellFormedUtf8(std::string_view bytes, bool* allMappable = nullptr) {
    if (allMappable) *allMappable = true;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t n = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
        if (n == 0 || i + n > bytes.size()) return false;
        char32_t c = n == 1 ? b : b & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            c = c << 6 | (t & 0x3F);
        }
        const char32_t least = n == 2 ? 0x80 : n == 3 ? 0x800 : n == 4 ? 0x10000 : 0;
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        if (allMappable && !mappable(c)) *allMappable = false;
        i += n;
    }
    return true;
}

void checkUtf16(std::u16string_view units) {
    const auto text = utf16ToText(units);
    if (!wellFormed(units)) {
        require(!text, "UTF-16 with a lone surrogate converts");
        return;
    }
    if (std::all_of(units.begin(), units.end(), [](char16_t c) { return mappable(c); })) {
        require(text.has_value(), "well-formed UTF-16 does not convert to GB18030");
    }
    if (!text) return;
    const auto back = textToUtf16(*text);
    require(back && *back == units, "UTF-16 does not survive GB18030 and back");
}

void checkText(std::string_view text) {
    if (const auto wide = textToUtf16(text)) {
        require(wellFormed(*wide), "a text converts to ill-formed UTF-16");
        const auto back = utf16ToText(*wide);
        require(back && *back == text, "a text does not survive UTF-16 and back");
    }
    if (const auto utf8 = textToUtf8(text)) {
        require(wellFormedUtf8(*utf8), "a text converts to ill-formed UTF-8");
        const auto back = utf8ToText(*utf8);
        require(back && *back == text, "a text does not survive UTF-8 and back");
    }
}

void checkUtf8(std::string_view utf8) {
    const auto text = utf8ToText(utf8);
    bool allMappable = true;
    if (!wellFormedUtf8(utf8, &allMappable)) {
        require(!text, "ill-formed UTF-8 converts");
        return;
    }
    if (allMappable) require(text.has_value(), "well-formed UTF-8 does not convert to GB18030");
    if (!text) return;
    const auto back = textToUtf8(*text);
    require(back && *back == utf8, "UTF-8 does not survive GB18030 and back");
}

}  // namespace
}  // namespace vorlane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorlane::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    checkUtf16(units);
    checkText(bytes);
    checkUtf8(bytes);
    return 0;
}
