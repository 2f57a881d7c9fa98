#pragma once
// UTF-8 text as a JSON string, for one-line records (the test log and the test tools).
#include <cstdio>
#include <string>
#include <string_view>

namespace vorlane {

inline std::string jsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char ch : utf8) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

}  // namespace vorlane
