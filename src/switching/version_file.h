#pragma once
#include <string_view>

#include "base/text.h"

namespace vorlane {

// The launcher's version file around the typed version. The version goes in unchanged,
// three times: the launcher reads whatever the player typed, so nothing is trimmed or
// escaped.
Text versionFileText(std::string_view head, std::string_view version, std::string_view middle);

}  // namespace vorlane
