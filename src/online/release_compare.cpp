#include "online/release_compare.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vorlane {
namespace {

// The parts without their leading zeros, so numbers of any size compare by length first.
std::optional<std::vector<std::string_view>> releaseParts(std::string_view release) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t dot = std::min(release.find('.'), release.size());
        std::string_view part = release.substr(0, dot);
        if (part.empty() || !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        parts.push_back(part.substr(std::min(part.find_first_not_of('0'), part.size())));
        if (dot == release.size()) return parts;
        release.remove_prefix(dot + 1);
    }
}

}  // namespace

bool isNewerRelease(std::string_view candidate, std::string_view current) {
    const auto a = releaseParts(candidate);
    const auto b = releaseParts(current);
    if (!a || !b) return false;
    for (std::size_t i = 0; i < std::max(a->size(), b->size()); ++i) {
        const std::string_view x = i < a->size() ? (*a)[i] : std::string_view{};
        const std::string_view y = i < b->size() ? (*b)[i] : std::string_view{};
        if (x.size() != y.size()) return x.size() > y.size();
        if (x != y) return x > y;
    }
    return false;
}

}  // namespace vorlane
