#include "win32/paint_buffer.h"

#include <algorithm>

#include "win32/gdi_text.h"

namespace vorlane::win32 {
namespace {

constexpr int kBandHeight = 64;  // device pixels painted at a time

}  // namespace

void PaintBuffer::paint(HDC dc, const Rect& area, const Window& model, const PointerState& pointer, Scale scale) {
    for (int top = area.top; top < area.bottom(); top += kBandHeight) {
        const Rect band{area.left, top, area.width, std::min(kBandHeight, area.bottom() - top)};
        if (render(band, model, pointer, scale)) {
            BitBlt(dc, band.left, band.top, band.width, band.height, memDc_.get(), 0, 0, SRCCOPY);
        }
    }
}

void PaintBuffer::paintAtOrigin(HDC dc, const Rect& area, const Window& model, const PointerState& pointer,
                                Scale scale) {
    if (render(area, model, pointer, scale)) BitBlt(dc, 0, 0, area.width, area.height, memDc_.get(), 0, 0, SRCCOPY);
}

// Paints `area` of the window picture into the buffer, at the buffer's top-left corner;
// false when there is no buffer to paint into.
bool PaintBuffer::render(const Rect& area, const Window& model, const PointerState& pointer, Scale scale) {
    ensureBuffer(std::max(1, area.width), std::max(1, area.height));
    if (!bits_) return false;
    GdiFlush();
    GdiTextDrawer text(memDc_.get(), context_.fonts, area.left, area.top);
    PixelCanvas canvas(bits_, width_, height_, &text, area.left, area.top);
    canvas.setClip(area);
    paintWindow(model, canvas, context_.pictures, shown_, pointer, scale);
    GdiFlush();
    return true;
}

void PaintBuffer::ensureBuffer(int width, int height) {
    if (buffer_ && width <= width_ && height <= height_) return;
    width = std::max(width, width_);
    height = std::max(height, height_);
    if (!memDc_) memDc_.reset(CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    OwnedGdi<HBITMAP> made(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!made || !memDc_) return;  // the buffer there is, if any, paints what it can
    // The new buffer is selected before the old one is deleted.
    SelectObject(memDc_.get(), made.get());
    buffer_ = std::move(made);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
}

}  // namespace vorlane::win32
