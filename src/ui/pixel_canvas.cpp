#include <algorithm>
#include <cmath>

#include "ui/canvas.h"

namespace vorlane {

PixelCanvas::PixelCanvas(std::uint32_t* pixels, int width, int height, TextDrawer* text, int left, int top)
    : pixels_(pixels), held_{left, top, width, height}, clip_(held_), text_(text) {}

void PixelCanvas::setClip(const Rect& r) { clip_ = intersect(r, held_); }

void PixelCanvas::fill(const Rect& r, Rgb colour) {
    Rect c = intersect(r, clip_);
    std::uint32_t p = packRgb(colour);
    for (int y = c.top; y < c.bottom(); ++y) std::fill_n(&pixel(c.left, y), c.width, p);
}

void PixelCanvas::drawBitmap(const Bitmap& bmp, int x, int y, const Rgb* key) {
    Rect c = intersect({x, y, bmp.width, bmp.height}, clip_);
    std::uint32_t k = key ? packRgb(*key) : 0;
    for (int py = c.top; py < c.bottom(); ++py) {
        std::uint32_t* row = &pixel(c.left, py);
        for (int px = c.left; px < c.right(); ++px) {
            std::uint32_t v = bmp.at(px - x, py - y) & 0xFFFFFF;
            if (!key || v != k) row[px - c.left] = v;
        }
    }
}

void PixelCanvas::stretchBitmap(const Bitmap& bmp, const Rect& dest) {
    if (bmp.width <= 0 || bmp.height <= 0 || dest.empty()) return;
    Rect c = intersect(dest, clip_);
    for (int py = c.top; py < c.bottom(); ++py) {
        int sy = static_cast<int>(static_cast<long long>(py - dest.top) * bmp.height / dest.height);
        std::uint32_t* row = &pixel(c.left, py);
        for (int px = c.left; px < c.right(); ++px) {
            int sx = static_cast<int>(static_cast<long long>(px - dest.left) * bmp.width / dest.width);
            row[px - c.left] = bmp.at(sx, sy) & 0xFFFFFF;
        }
    }
}

void PixelCanvas::fillRing(double cx, double cy, double outer, double inner, Rgb colour) {
    const int reach = static_cast<int>(std::ceil(outer)) + 1;
    const Rect c = intersect({static_cast<int>(std::floor(cx)) - reach, static_cast<int>(std::floor(cy)) - reach,
                              2 * reach + 1, 2 * reach + 1},
                             clip_);
    for (int py = c.top; py < c.bottom(); ++py) {
        std::uint32_t* row = &pixel(c.left, py);
        for (int px = c.left; px < c.right(); ++px) {
            // How much of the pixel lies inside the outer circle and outside the inner one,
            // from its centre's distance to the edges.
            const double d = std::hypot(px + 0.5 - cx, py + 0.5 - cy);
            double cover = std::clamp(outer - d + 0.5, 0.0, 1.0);
            if (inner > 0) cover -= std::clamp(inner - d + 0.5, 0.0, 1.0);
            if (cover <= 0) continue;
            const Rgb was = unpackRgb(row[px - c.left]);
            auto mix = [cover](std::uint8_t a, std::uint8_t b) {
                return static_cast<std::uint8_t>(std::lround(a + (b - a) * cover));
            };
            row[px - c.left] = packRgb({mix(was.r, colour.r), mix(was.g, colour.g), mix(was.b, colour.b)});
        }
    }
}

void PixelCanvas::drawText(const Text& text, const Rect& box, const TextStyle& style) {
    if (text_ && !intersect(box, clip_).empty()) text_->drawText(text, box, style, clip_);
}

}  // namespace vorlane
