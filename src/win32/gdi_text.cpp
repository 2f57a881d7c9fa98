#include "win32/gdi_text.h"

#include "win32/services.h"

namespace vorlane::win32 {

HFONT FontCache::font(int height, bool bold) {
    OwnedGdi<HFONT>& f = fonts_[{height, bold}];
    if (!f) {
        f.reset(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, kUiFace));
    }
    return f.get();
}

void GdiTextDrawer::drawText(const Text& text, const Rect& box, const TextStyle& style, const Rect& clip) {
    auto wide = widen(text);
    if (!wide || wide->empty()) return;
    const OwnedGdi<HRGN> region(
        CreateRectRgn(clip.left - left_, clip.top - top_, clip.right() - left_, clip.bottom() - top_));
    SelectClipRgn(dc_, region.get());
    HGDIOBJ old = SelectObject(dc_, fonts_.font(style.height, style.bold));
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(style.colour.r, style.colour.g, style.colour.b));
    RECT r{box.left - left_, box.top - top_, box.right() - left_, box.bottom() - top_};
    UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_LEFT |
                 (style.layout == TextLayout::CentredVertically ? DT_VCENTER : DT_TOP);
    DrawTextW(dc_, wide->c_str(), static_cast<int>(wide->size()), &r, flags);
    SelectObject(dc_, old);
    SelectClipRgn(dc_, nullptr);
    // The painter writes pixels directly next; GDI must be done with them.
    GdiFlush();
}

}  // namespace vorlane::win32
