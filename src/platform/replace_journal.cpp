#include "platform/replace_journal.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

// The journal is a few lines of text, each ended by CR LF:
//   vorlane journal 2
//   <1 if the target existed, else 0> <old size> <old checksum> <new size> <new checksum> <name>   (one per file)
//   end <checksum of every byte before this line>
// Checksums are 16 hex digits; a name is the target's path below the game folder, so the
// journal still reads when the folder is reached under another spelling (another case, an
// 8.3 name, another drive letter) or has moved. The last line makes a journal that was cut
// short, or damaged, read as damaged; a whole one of another format reads as unknown.
namespace vorlane {
namespace {

constexpr std::string_view kHeader = "vorlane journal 2\r\n";
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
    const auto oldSize = number(field(line), 10);
    const auto oldSum = number(field(line), 16);
    const auto newSize = number(field(line), 10);
    const auto newSum = number(field(line), 16);
    if (!existed || (*existed != "0" && *existed != "1") || !oldSize || !oldSum || !newSize || !newSum ||
        line.empty()) {
        return std::nullopt;
    }
    return PlannedFile{.name = Text(line), .existed = *existed == "1", .old = {*oldSize, *oldSum},
                       .fresh = {*newSize, *newSum}};
}

unsigned char folded(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    return c == '/' ? '\\' : c;
}

// Equal but for the case of ASCII letters and the kind of slash. The byte after a GB18030
// lead byte belongs to its character and is compared as it is.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x81) {
            if (x != y || (i + 1 < a.size() && a[i + 1] != b[i + 1])) return false;
            ++i;
        } else if (folded(x) != folded(y)) {
            return false;
        }
    }
    return true;
}

// The entries of a whole journal's body; nullopt when one cannot be read.
std::optional<std::vector<PlannedFile>> entries(std::string_view rest) {
    std::vector<PlannedFile> plan;
    while (!rest.empty()) {
        const std::size_t end = rest.find(kLineEnd);
        if (end == std::string_view::npos) return std::nullopt;
        auto planned = entry(rest.substr(0, end));
        if (!planned) return std::nullopt;
        plan.push_back(std::move(*planned));
        rest.remove_prefix(end + kLineEnd.size());
    }
    return plan;
}

}  // namespace

Fingerprint fingerprint(const Bytes& bytes) {
    return {bytes.size(), checksumOf(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))};
}

Text nameBelow(const Text& root, const Text& target) {
    if (root.empty() || target.size() <= root.size() + 1 || !target.starts_with(root)) return {};
    const char separator = target[root.size()];
    return separator == '\\' || separator == '/' ? target.substr(root.size() + 1) : Text();
}

Text journalText(const std::vector<PlannedFile>& plan) {
    Text text(kHeader);
    for (const PlannedFile& f : plan) {
        text += Text(f.existed ? "1 " : "0 ") + std::to_string(f.old.size) + " " + hex(f.old.checksum) + " " +
                std::to_string(f.fresh.size) + " " + hex(f.fresh.checksum) + " " + f.name;
        text += kLineEnd;
    }
    return text + Text(kEnd) + hex(checksumOf(text)) + Text(kLineEnd);
}

ParsedJournal parseJournal(const Bytes& bytes, const Text& root, const std::vector<Text>& targets) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t last = text.size() - std::min(text.size(), kEnd.size() + kHexDigits + kLineEnd.size());
    const std::string_view body = text.substr(0, last);
    std::string_view tail = text.substr(last);
    if (!tail.starts_with(kEnd) || !tail.ends_with(kLineEnd) ||
        number(tail.substr(kEnd.size(), kHexDigits), 16) != checksumOf(body)) {
        return {};
    }
    ParsedJournal parsed{.kind = ParsedJournal::Kind::Unknown};
    auto plan = body.starts_with(kHeader) ? entries(body.substr(kHeader.size())) : std::nullopt;
    if (!plan) return parsed;
    for (PlannedFile& f : *plan) {
        auto target = std::find_if(targets.begin(), targets.end(),
                                   [&](const Text& t) { return sameName(nameBelow(root, t), f.name); });
        const bool twice = std::any_of(plan->begin(), plan->end(), [&](const PlannedFile& g) {
            return target != targets.end() && g.target == *target;
        });
        if (target == targets.end() || twice) return parsed;
        f.target = *target;
    }
    parsed.kind = ParsedJournal::Kind::Plan;
    parsed.plan = std::move(*plan);
    return parsed;
}

}  // namespace vorlane
