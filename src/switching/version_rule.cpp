#include "switching/version_rule.h"

#include <algorithm>

namespace vorlane {

// The version goes into the XML as typed. GB18030 never uses these bytes inside a
// character, so bytes are checked.
bool breaksVersionFile(std::string_view version) {
    return std::any_of(version.begin(), version.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&';
    });
}

bool isUsableVersion(std::string_view version) { return !version.empty() && !breaksVersionFile(version); }

}  // namespace vorlane
