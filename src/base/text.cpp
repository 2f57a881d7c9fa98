#include "base/text.h"

#include <algorithm>

namespace vorlane {
namespace {

unsigned char foldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

bool matchesAt(std::string_view text, std::size_t at, std::string_view needle, bool ignoreCase) {
    for (std::size_t i = 0; i < needle.size(); ++i) {
        auto a = static_cast<unsigned char>(text[at + i]);
        auto b = static_cast<unsigned char>(needle[i]);
        if (ignoreCase ? foldAscii(a) != foldAscii(b) : a != b) return false;
    }
    return true;
}

}  // namespace

Bytes textToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

Text bytesToText(const Bytes& bytes) { return Text(bytes.begin(), bytes.end()); }

int textLength(std::string_view text) { return static_cast<int>(text.size()); }

int findText(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
    if (needle.empty() || needle.size() > text.size()) return -1;
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        if (matchesAt(text, at, needle, ignoreCase)) return static_cast<int>(at + 1);
    }
    return -1;
}

Text midText(std::string_view text, int start, int count) {
    if (count <= 0) return {};
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return {};
    return Text(text.substr(from, std::min<std::size_t>(static_cast<std::size_t>(count), text.size() - from)));
}

Text replaceText(std::string_view text, std::string_view from, std::string_view to, bool caseSensitive) {
    if (from.empty()) return Text(text);
    Text out;
    int pos = 1;
    for (int hit; (hit = findText(text, from, pos, !caseSensitive)) != -1; pos = hit + textLength(from)) {
        out.append(text.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(hit - pos)));
        out.append(to);
    }
    out.append(text.substr(static_cast<std::size_t>(pos - 1)));
    return out;
}

}  // namespace vorlane
