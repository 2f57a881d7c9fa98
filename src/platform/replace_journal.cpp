#include "platform/replace_journal.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/sealed_text.h"

// The journal is a few lines of text, each ended by CR LF:
//   vorlane journal 2
//   <existed: 1 or 0> <old size> <old checksum> <stays: 1 or 0> <new size> <new checksum> <name>   (one per file)
//   end <checksum of every byte before this line>
// Checksums are 16 hex digits; a name is the target's path below the game folder, so the
// journal still reads when the folder is reached under another spelling (another case, an
// 8.3 name, another drive letter) or has moved. The last line makes a journal that was cut
// short, or damaged, read as damaged; a whole one of another format reads as unknown.
namespace vorlane {
namespace {

constexpr std::string_view kHeader = "vorlane journal 2\r\n";

std::optional<PlannedFile> entry(std::string_view line) {
    const auto existed = takeFlag(line);
    const auto oldSize = takeNumber(line);
    const auto oldSum = takeChecksum(line);
    const auto stays = takeFlag(line);
    const auto newSize = takeNumber(line);
    const auto newSum = takeChecksum(line);
    if (!existed || !oldSize || !oldSum || !stays || !newSize || !newSum || line.empty()) return std::nullopt;
    return PlannedFile{.name = Text(line), .existed = *existed, .old = {*oldSize, *oldSum}, .stays = *stays,
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
        text += Text(f.existed ? "1 " : "0 ") + std::to_string(f.old.size) + " " + checksumField(f.old.checksum) +
                (f.stays ? " 1 " : " 0 ") + std::to_string(f.fresh.size) + " " + checksumField(f.fresh.checksum) +
                " " + f.name;
        text += kLineEnd;
    }
    return sealedText(text);
}

ParsedJournal parseJournal(const Bytes& bytes, const Text& root, const std::vector<Text>& targets) {
    const auto body = sealedBody(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!body) return {};
    ParsedJournal parsed{.kind = ParsedJournal::Kind::Unknown};
    auto plan = body->starts_with(kHeader) ? entries(body->substr(kHeader.size())) : std::nullopt;
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
