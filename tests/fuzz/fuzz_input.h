#pragma once
// How the fuzz targets read their input: a 9-byte header (flags, then two little-endian
// 32-bit numbers), then up to three fields separated by 0xFF, a byte that never occurs in
// GB18030, so seed files stay readable texts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vorlane::fuzz {

struct Input {
    std::uint8_t flags = 0;
    int first = 0;
    int second = 0;
    std::string_view fields[3];
};

inline int readInt(const std::uint8_t* p) {
    return static_cast<int>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

inline Input readInput(const std::uint8_t* data, std::size_t size) {
    Input in;
    if (size < 9) return in;
    in.flags = data[0];
    in.first = readInt(data + 1);
    in.second = readInt(data + 5);
    std::string_view rest(reinterpret_cast<const char*>(data + 9), size - 9);
    for (std::size_t i = 0; i < 3; ++i) {
        std::size_t cut = i < 2 ? rest.find('\xFF') : std::string_view::npos;
        in.fields[i] = rest.substr(0, cut);
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 1);
    }
    return in;
}

// A broken invariant is a finding: say which one and stop, so libFuzzer keeps the input.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The reference for a match, written independently of the code under test.
inline bool matchesAt(std::string_view text, std::size_t at, std::string_view needle, bool ignoreCase) {
    if (at > text.size() || needle.size() > text.size() - at) return false;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(text[at + i]);
        unsigned char b = static_cast<unsigned char>(needle[i]);
        if (ignoreCase) {
            if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
            if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
        }
        if (a != b) return false;
    }
    return true;
}

}  // namespace vorlane::fuzz
