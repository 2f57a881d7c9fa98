#include "platform/replace_journal.h"

#include <algorithm>
#include <charconv>
#include <string_view>

// The journal is a few lines of text, each ended by CR LF:
//   vorlane journal 1
//   <1 if the target existed, else 0> <size> <checksum, 16 hex digits> <target path>   (one per file)
//   end <checksum of every byte before this line, 16 hex digits>
// The last line makes a journal that was cut short, or damaged, read as no journal.
namespace vorlane {
namespace {

constexpr std::string_view kHeader = "vorlane journal 1\r\n";
constexpr std::string_view kEnd = "end ";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kHexDigits = 16;

std::uint64_t checksumOf(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

Text hex(std::uint64_t value) {
    Text out(kHexDigits, '0');
    for (std::size_t i = kHexDigits; i-- > 0; value >>= 4) out[i] = "0123456789abcdef"[value & 0xF];
    return out;
}

// Takes the next field and the space after it off `line`.
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

std::optional<PlannedFile> entry(std::string_view line) {
    const auto existed = field(line);
    const auto size = number(field(line), 10);
    const auto sum = number(field(line), 16);
    if (!existed || (*existed != "0" && *existed != "1") || !size || !sum || line.empty()) return std::nullopt;
    return PlannedFile{Text(line), *existed == "1", *size, *sum};
}

}  // namespace

std::uint64_t checksum(const Bytes& bytes) {
    return checksumOf(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Text journalText(const std::vector<PlannedFile>& plan) {
    Text text(kHeader);
    for (const PlannedFile& f : plan) {
        text += Text(f.existed ? "1 " : "0 ") + std::to_string(f.size) + " " + hex(f.checksum) + " " + f.target;
        text += kLineEnd;
    }
    return text + Text(kEnd) + hex(checksumOf(text)) + Text(kLineEnd);
}

std::optional<std::vector<PlannedFile>> parseJournal(const Bytes& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t last = text.size() - std::min(text.size(), kEnd.size() + kHexDigits + kLineEnd.size());
    const std::string_view body = text.substr(0, last);
    std::string_view tail = text.substr(last);
    if (!tail.starts_with(kEnd) || !tail.ends_with(kLineEnd) || !body.starts_with(kHeader)) return std::nullopt;
    tail = tail.substr(kEnd.size(), kHexDigits);
    if (number(tail, 16) != checksumOf(body)) return std::nullopt;

    std::vector<PlannedFile> plan;
    for (std::string_view rest = body.substr(kHeader.size()); !rest.empty();) {
        const std::size_t end = rest.find(kLineEnd);
        if (end == std::string_view::npos) return std::nullopt;
        auto planned = entry(rest.substr(0, end));
        if (!planned) return std::nullopt;
        plan.push_back(std::move(*planned));
        rest.remove_prefix(end + kLineEnd.size());
    }
    return plan;
}

}  // namespace vorlane
