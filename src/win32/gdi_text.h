#pragma once
#include <windows.h>

#include <map>

#include "ui/canvas.h"
#include "win32/handle.h"

namespace vorlane::win32 {

// The face asked for by name: GB2312 with no face resolves to a font without Latin
// glyphs under Wine; this one exists on every Windows since Vista (Wine maps it).
inline constexpr const wchar_t* kUiFace = L"Microsoft YaHei";

// Fonts by pixel height and weight (bold for labels, normal for controls), created once
// and kept for the life of the program; a display scale only asks for other heights.
class FontCache {
public:
    HFONT font(int height, bool bold);

private:
    std::map<std::pair<int, bool>, OwnedGdi<HFONT>> fonts_;
};

// Draws label text with GDI into the memory DC that holds the canvas's pixels, whose
// top-left corner is the surface's point (left, top).
class GdiTextDrawer final : public TextDrawer {
public:
    GdiTextDrawer(HDC dc, FontCache& fonts, int left, int top) : dc_(dc), fonts_(fonts), left_(left), top_(top) {}
    void drawText(const Text& text, const Rect& box, const TextStyle& style, const Rect& clip) override;

private:
    HDC dc_;
    FontCache& fonts_;
    int left_, top_;
};

}  // namespace vorlane::win32
