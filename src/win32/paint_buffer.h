#pragma once
// Paints a window model with the portable painter into a buffer as wide as the window but
// only a band high, and copies each band to the screen. Keeps what the window shows of its
// animation objects' pictures.
#include <windows.h>

#include <cstdint>

#include "ui/painter.h"
#include "win32/handle.h"
#include "win32/host_context.h"

namespace vorlane::win32 {

class PaintBuffer {
public:
    explicit PaintBuffer(HostContext& context) : context_(context), shown_(context.decoder) {}

    // Paints `area` of the window (device pixels) to the same place of `dc`.
    void paint(HDC dc, const Rect& area, const Window& model, const PointerState& pointer, Scale scale);
    // Paints `area` of the window to the top-left corner of `dc` (one control's own DC).
    void paintAtOrigin(HDC dc, const Rect& area, const Window& model, const PointerState& pointer, Scale scale);

private:
    bool render(const Rect& area, const Window& model, const PointerState& pointer, Scale scale);
    void ensureBuffer(int width, int height);

    HostContext& context_;
    ShownPictures shown_;
    // The DC holding the buffer goes first, so the buffer is no longer selected when deleted.
    OwnedGdi<HBITMAP> buffer_;
    OwnedDc memDc_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace vorlane::win32
