#pragma once
// A wide text as a JSON string of UTF-8, for the helpers' one-line records.
#include <windows.h>

#include <string>

#include "base/json_string.h"

inline std::string utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::string json(const std::wstring& wide) { return vorlane::jsonString(utf8(wide)); }
