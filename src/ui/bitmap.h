#pragma once
// A decoded picture: 0x00RRGGBB pixels, top row first.
#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "ui/geometry.h"

namespace vorlane {

struct Bitmap {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline std::uint32_t packRgb(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }
inline Rgb unpackRgb(std::uint32_t p) {
    return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)};
}

// Uncompressed 24-bit BMP files, as the skin pictures are stored.
std::optional<Bitmap> decodeBmp(const Bytes& file);

}  // namespace vorlane
