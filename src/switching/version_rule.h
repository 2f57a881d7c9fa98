#pragma once
// Which versions the launcher's version file can hold.
#include <string_view>

namespace vorlane {

// Markup and control characters would break the version file's XML.
bool breaksVersionFile(std::string_view version);

// What a switch accepts: a version that is there and keeps the file whole.
bool isUsableVersion(std::string_view version);

}  // namespace vorlane
