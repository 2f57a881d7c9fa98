#include "ui/bitmap.h"

namespace vorlane {
namespace {

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t le16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }

}  // namespace

std::optional<Bitmap> decodeBmp(const Bytes& file) {
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    std::uint32_t offset = le32(file, 10);
    auto width = static_cast<std::int32_t>(le32(file, 18));
    auto height = static_cast<std::int32_t>(le32(file, 22));
    if (le16(file, 28) != 24 || le32(file, 30) != 0 || width <= 0 || height == 0) return std::nullopt;
    bool bottomUp = height > 0;
    int rows = bottomUp ? height : -height;
    std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (offset + stride * rows > file.size()) return std::nullopt;
    Bitmap bmp{width, rows, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * rows)};
    for (int y = 0; y < rows; ++y) {
        std::size_t row = offset + stride * static_cast<std::size_t>(bottomUp ? rows - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            std::size_t p = row + static_cast<std::size_t>(x) * 3;
            bmp.pixels[static_cast<std::size_t>(y) * width + x] =
                (std::uint32_t{file[p + 2]} << 16) | (std::uint32_t{file[p + 1]} << 8) | file[p];
        }
    }
    return bmp;
}

}  // namespace vorlane
