// The Linux implementation of the conversions, used by the native tests.
#include <iconv.h>

#include <cerrno>

#include "base/encoding.h"

namespace vorlane {
namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    bool ok = rc != static_cast<std::size_t>(-1) && srcLeft == 0 && rc == 0;
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

// glibc decodes a few GB18030 codes that later standards moved to the same characters
// as their new codes (0x95329031 and 0xFE51 both give U+20087): a text converts only
// when it converts back to the same bytes.
std::optional<std::string> convertExactly(const char* to, const char* from, std::string_view in) {
    auto out = convert(to, from, in);
    if (!out || convert(from, to, *out) != in) return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::u16string> textToUtf16(std::string_view text) {
    auto bytes = convertExactly("UTF-16LE", "GB18030", text);
    if (!bytes) return std::nullopt;
    std::u16string wide(bytes->size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>((*bytes)[2 * i]) |
                                        (static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8));
    }
    return wide;
}

std::optional<Text> utf16ToText(std::u16string_view wide) {
    std::string bytes;
    bytes.reserve(wide.size() * 2);
    for (char16_t c : wide) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return convert("GB18030", "UTF-16LE", bytes);
}

std::optional<Text> utf8ToText(std::string_view utf8) { return convert("GB18030", "UTF-8", utf8); }

std::optional<std::string> textToUtf8(std::string_view text) { return convertExactly("UTF-8", "GB18030", text); }

}  // namespace vorlane
