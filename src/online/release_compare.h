#pragma once
#include <string_view>

namespace vorlane {

// Whether candidate names a later release than current. Both are dot-separated decimal
// numbers compared part by part, a missing part counting as 0; a text that is empty or not
// of that form is never later, and never has a later one.
bool isNewerRelease(std::string_view candidate, std::string_view current);

}  // namespace vorlane
