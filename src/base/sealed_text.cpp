#include "base/sealed_text.h"

#include <algorithm>
#include <charconv>

namespace vorlane {
namespace {

constexpr std::string_view kEnd = "end ";
constexpr std::size_t kHexDigits = 16;

std::optional<std::string_view> field(std::string_view& line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    std::string_view value = line.substr(0, space);
    line.remove_prefix(space + 1);
    return value;
}

std::optional<std::uint64_t> number(std::optional<std::string_view> text, int base) {
    std::uint64_t value = 0;
    if (!text || text->empty() || (base == 16 && text->size() != kHexDigits)) return std::nullopt;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value, base);
    if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
    return value;
}

}  // namespace

std::uint64_t checksumOf(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

Text checksumField(std::uint64_t value) {
    Text out(kHexDigits, '0');
    for (std::size_t i = kHexDigits; i-- > 0; value >>= 4) out[i] = "0123456789abcdef"[value & 0xF];
    return out;
}

Text sealedText(const Text& body) { return body + Text(kEnd) + checksumField(checksumOf(body)) + Text(kLineEnd); }

std::optional<std::string_view> sealedBody(std::string_view text) {
    const std::size_t last = text.size() - std::min(text.size(), kEnd.size() + kHexDigits + kLineEnd.size());
    const std::string_view body = text.substr(0, last);
    const std::string_view tail = text.substr(last);
    if (!tail.starts_with(kEnd) || !tail.ends_with(kLineEnd) ||
        number(tail.substr(kEnd.size(), kHexDigits), 16) != checksumOf(body)) {
        return std::nullopt;
    }
    return body;
}

std::optional<std::uint64_t> takeNumber(std::string_view& line) { return number(field(line), 10); }

std::optional<std::uint64_t> takeChecksum(std::string_view& line) { return number(field(line), 16); }

std::optional<bool> takeFlag(std::string_view& line) {
    const auto value = field(line);
    if (!value || (*value != "0" && *value != "1")) return std::nullopt;
    return *value == "1";
}

}  // namespace vorlane
