#include "online/page_text.h"

#include "base/encoding.h"

namespace vorlane {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool isLabelChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
           c == '.' || c == ':';
}

// The label after the first "charset=" in s, quotes and spaces skipped; empty when none.
std::string_view charsetLabel(std::string_view s) {
    constexpr std::string_view kName = "charset";
    for (int at = findText(s, kName, 1, true); at != -1; at = findText(s, kName, at + 1, true)) {
        std::size_t i = static_cast<std::size_t>(at - 1) + kName.size();
        while (i < s.size() && isSpace(s[i])) ++i;
        if (i == s.size() || s[i] != '=') continue;
        ++i;
        while (i < s.size() && (isSpace(s[i]) || s[i] == '"' || s[i] == '\'')) ++i;
        const std::size_t from = i;
        while (i < s.size() && isLabelChar(s[i])) ++i;
        return s.substr(from, i - from);
    }
    return {};
}

// Where a browser looks before it parses the page: a <meta> in its first bytes.
constexpr std::size_t kPrescanBytes = 1024;

// The charset of the first <meta> that names one within the prescanned bytes. A tag left
// open runs to their end, and no tag follows it.
std::string_view metaCharset(std::string_view page) {
    const std::string_view head = page.substr(0, kPrescanBytes);
    for (int at = findText(head, "<meta", 1, true); at != -1;) {
        const int close = findText(head, ">", at);
        const std::size_t from = static_cast<std::size_t>(at - 1);
        const std::size_t length = close == -1 ? std::string_view::npos : static_cast<std::size_t>(close - at);
        if (std::string_view label = charsetLabel(head.substr(from, length)); !label.empty()) return label;
        if (close == -1) break;
        at = findText(head, "<meta", close + 1, true);
    }
    return {};
}

// The header decides when it names a charset, as in a browser.
std::string_view declaredCharset(std::string_view contentType, std::string_view page) {
    if (std::string_view header = charsetLabel(contentType); !header.empty()) return header;
    return metaCharset(page);
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && findText(a, b, 1, true) == 1;
}

bool isUtf8Label(std::string_view label) { return sameIgnoringCase(label, "utf-8") || sameIgnoringCase(label, "utf8"); }

// A body cut at the size limit may end inside a character; that tail is dropped.
std::string_view withoutCutCharacter(std::string_view utf8) {
    std::size_t lead = utf8.size();
    for (int back = 0; back < 4 && lead > 0; ++back) {
        auto c = static_cast<unsigned char>(utf8[lead - 1]);
        if ((c & 0xC0) != 0x80) {
            std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return utf8.size() - (lead - 1) < need ? utf8.substr(0, lead - 1) : utf8;
        }
        --lead;
    }
    return utf8;
}

}  // namespace

Text pageText(const HttpResponse& response) {
    const std::string_view page(reinterpret_cast<const char*>(response.body.data()), response.body.size());
    const bool bom = page.starts_with(kUtf8Bom);
    if (bom || isUtf8Label(declaredCharset(response.contentType, page))) {
        if (auto text = utf8ToText(withoutCutCharacter(bom ? page.substr(kUtf8Bom.size()) : page))) {
            return *std::move(text);
        }
    }
    return bytesToText(response.body);
}

}  // namespace vorlane
