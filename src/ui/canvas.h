#pragma once
// Where the painter draws. Every operation is clipped to the current clip rectangle.
#include "base/text.h"
#include "ui/bitmap.h"
#include "ui/geometry.h"
#include "ui/layout.h"

namespace vorlane {

struct TextStyle {
    Rgb colour;
    int height = 12;
    bool bold = true;
    TextLayout layout = TextLayout::Top;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual Rect clip() const = 0;
    virtual void setClip(const Rect& r) = 0;
    virtual void fill(const Rect& r, Rgb colour) = 0;
    // Unscaled, top-left at (x, y); pixels of exactly `key` are skipped.
    virtual void drawBitmap(const Bitmap& bmp, int x, int y, const Rgb* key) = 0;
    // Nearest pixel, as a picture box fits its picture.
    virtual void stretchBitmap(const Bitmap& bmp, const Rect& dest) = 0;
    // The area between two circles about (cx, cy), anti-aliased and blended over what is
    // there; an inner radius of 0 fills the disc.
    virtual void fillRing(double cx, double cy, double outer, double inner, Rgb colour) = 0;
    virtual void drawText(const Text& text, const Rect& box, const TextStyle& style) = 0;
};

// Draws into a 0x00RRGGBB pixel buffer (a DIB section on Windows, a plain buffer in
// tests). Text goes to a TextDrawer, since only the system can rasterise fonts.
class TextDrawer {
public:
    virtual void drawText(const Text& text, const Rect& box, const TextStyle& style, const Rect& clip) = 0;

protected:
    ~TextDrawer() = default;
};

class PixelCanvas final : public Canvas {
public:
    // The buffer holds the part of the surface whose top-left corner is (left, top), so a
    // surface can be painted a band at a time; coordinates are always the surface's.
    PixelCanvas(std::uint32_t* pixels, int width, int height, TextDrawer* text = nullptr, int left = 0,
                int top = 0);

    Rect clip() const override { return clip_; }
    void setClip(const Rect& r) override;
    void fill(const Rect& r, Rgb colour) override;
    void drawBitmap(const Bitmap& bmp, int x, int y, const Rgb* key) override;
    void stretchBitmap(const Bitmap& bmp, const Rect& dest) override;
    void fillRing(double cx, double cy, double outer, double inner, Rgb colour) override;
    void drawText(const Text& text, const Rect& box, const TextStyle& style) override;

    std::uint32_t at(int x, int y) const { return const_cast<PixelCanvas*>(this)->pixel(x, y); }

private:
    std::uint32_t& pixel(int x, int y) {
        return pixels_[static_cast<std::size_t>(y - held_.top) * held_.width + (x - held_.left)];
    }

    std::uint32_t* pixels_;
    Rect held_;  // the part of the surface in the buffer
    Rect clip_;
    TextDrawer* text_;
};

}  // namespace vorlane
