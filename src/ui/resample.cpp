#include "ui/resample.h"

#include <algorithm>
#include <cmath>

namespace vorlane {
namespace {

// Along one axis, the source pixels each new pixel covers and their shares of it.
struct Axis {
    std::vector<int> first;        // per new pixel: its first source pixel
    std::vector<std::size_t> at;   // per new pixel: where its shares start in `shares`
    std::vector<float> shares;     // summing to 1 per new pixel
};

Axis axis(int sourceSize, int newSize, int from, int to) {
    Axis a;
    const double step = static_cast<double>(sourceSize) / newSize;
    for (int i = from; i < to; ++i) {
        const double lo = i * step, hi = (i + 1) * step;
        const int first = static_cast<int>(lo);
        const int end = std::min(sourceSize, static_cast<int>(std::ceil(hi)));
        a.first.push_back(first);
        a.at.push_back(a.shares.size());
        for (int j = first; j < end; ++j) {
            a.shares.push_back(static_cast<float>((std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j))) / step));
        }
    }
    a.at.push_back(a.shares.size());
    return a;
}

std::uint8_t channel(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f))); }

}  // namespace

Bitmap resample(const Bitmap& source, int width, int height, const Rect& part, const Rgb* key) {
    const Rect area = intersect(part, {0, 0, width, height});
    Bitmap out{area.width, area.height, std::vector<std::uint32_t>(static_cast<std::size_t>(area.width) * area.height)};
    if (area.empty() || source.width <= 0 || source.height <= 0) return out;
    const Axis xs = axis(source.width, width, area.left, area.right());
    const Axis ys = axis(source.height, height, area.top, area.bottom());
    const std::uint32_t keyPixel = key ? packRgb(*key) : 0;
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            float r = 0, g = 0, b = 0, covered = 0;
            for (std::size_t sy = ys.at[y]; sy < ys.at[y + 1]; ++sy) {
                const std::uint32_t* row =
                    source.pixels.data() + static_cast<std::size_t>(ys.first[y] + (sy - ys.at[y])) * source.width;
                for (std::size_t sx = xs.at[x]; sx < xs.at[x + 1]; ++sx) {
                    const std::uint32_t p = row[xs.first[x] + (sx - xs.at[x])] & 0xFFFFFF;
                    if (key && p == keyPixel) continue;
                    const float w = ys.shares[sy] * xs.shares[sx];
                    r += w * static_cast<float>(p >> 16);
                    g += w * static_cast<float>((p >> 8) & 0xFF);
                    b += w * static_cast<float>(p & 0xFF);
                    covered += w;
                }
            }
            std::uint32_t& dest = out.pixels[static_cast<std::size_t>(y) * area.width + x];
            if (key && covered * 2 < 1) {
                dest = keyPixel;
                continue;
            }
            const float norm = key ? 1 / covered : 1;
            Rgb c{channel(r * norm), channel(g * norm), channel(b * norm)};
            if (key && c == *key) c.r = static_cast<std::uint8_t>(c.r == 255 ? 254 : c.r + 1);
            dest = packRgb(c);
        }
    }
    return out;
}

}  // namespace vorlane
