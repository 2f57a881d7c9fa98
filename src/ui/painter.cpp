#include "ui/painter.h"

#include <algorithm>

#include "ui/hit_test.h"

namespace vorlane {
namespace {

constexpr Rgb kSystemFace{240, 240, 240};

// A radio button in layout units: its round mark at the left, vertically centred, and
// the caption after it, in the control font's size.
constexpr double kMarkCentre = 6.5;
constexpr double kMarkRadius = 6;
constexpr double kMarkLine = 1.5;
constexpr double kMarkDot = 3;
constexpr int kCaptionIndent = 17;

struct Painter {
    Canvas& canvas;
    const PictureSource& pictures;
    ShownPictures& shown;
    const PointerState& pointer;
    Scale scale;

    const Bitmap* picture(const char* name) const { return name ? pictures.picture(name, scale) : nullptr; }

    void tile(const Bitmap& bmp, const Rect& area) {
        for (int y = area.top; y < area.bottom(); y += bmp.height) {
            for (int x = area.left; x < area.right(); x += bmp.width) canvas.drawBitmap(bmp, x, y, nullptr);
        }
    }

    void children(const Window& window, const Control* parent) {
        const auto& all = window.controls();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            if (it->parent() == parent && it->visible() && isDrawnControl(it->kind())) control(window, *it);
        }
    }

    void control(const Window& window, const Control& c) {
        const Rect r = scale.rect(c.windowRect());
        const Rect outer = canvas.clip();
        canvas.setClip(intersect(outer, r));
        switch (c.kind()) {
            case ControlKind::GraphicButton: button(c, r); break;
            case ControlKind::TransparentLabel:
                if (pointer.focused == &c) outlineBox(r);
                // A caption may run past its box, as transparent text on the surface.
                canvas.setClip(outer);
                canvas.drawText(c.text(), r,
                                {c.spec().textColour.value_or(Rgb{}), scale.px(c.spec().fontHeight), true,
                                 c.spec().textLayout});
                break;
            case ControlKind::RadioButton:
                radio(c, r);
                if (pointer.focused == &c) outlineBox(r);
                break;
            case ControlKind::EditBox: canvas.fill(r, c.spec().backColour.value_or(Rgb{255, 255, 255})); break;
            case ControlKind::PictureBox:
                canvas.fill(r, c.spec().backColour.value_or(kSystemFace));
                if (const Bitmap* bmp = picture(c.spec().picture)) canvas.stretchBitmap(*bmp, r);
                children(window, &c);
                break;
            case ControlKind::AnimationBox: animation(c, r); break;
            default: break;
        }
        canvas.setClip(outer);
    }

    void button(const Control& c, const Rect& r) {
        const Bitmap* bmp = picture(buttonPictureName(c, pointer));
        if (!bmp) return;
        // A push button without a pressed picture sinks by one pixel while held.
        int sink = (pointer.pressed == &c && !c.spec().pictures.pressed) ? scale.px(1) : 0;
        canvas.drawBitmap(*bmp, r.left + sink, r.top + sink, &kTransparentKey);
        if (pointer.focused == &c) outlinePicture(*bmp, r.left + sink, r.top + sink, r);
    }

    int ringWidth() const { return std::max(1, scale.px(1)); }

    // The focus ring on a plate: its outermost pixels within the button, so the ring
    // follows the plate's slanted edges at every scale.
    void outlinePicture(const Bitmap& bmp, int left, int top, const Rect& r) {
        const std::uint32_t key = packRgb(kTransparentKey);
        auto solid = [&](int x, int y) {
            int px = x - left, py = y - top;
            return r.contains(x, y) && px >= 0 && py >= 0 && px < bmp.width && py < bmp.height && bmp.at(px, py) != key;
        };
        const int w = ringWidth();
        const Rect area = intersect(canvas.clip(), r);
        for (int y = area.top; y < area.bottom(); ++y) {
            for (int x = area.left; x < area.right(); ++x) {
                if (!solid(x, y)) continue;
                bool edge = false;
                for (int dy = -w; dy <= w && !edge; ++dy) {
                    for (int dx = -w; dx <= w && !edge; ++dx) edge = !solid(x + dx, y + dy);
                }
                if (edge) canvas.fill({x, y, 1, 1}, kFocusRing);
            }
        }
    }

    // The focus ring round a link or a radio button: the edge of its box.
    void outlineBox(const Rect& r) {
        const int w = ringWidth();
        canvas.fill({r.left, r.top, r.width, w}, kFocusRing);
        canvas.fill({r.left, r.bottom() - w, r.width, w}, kFocusRing);
        canvas.fill({r.left, r.top, w, r.height}, kFocusRing);
        canvas.fill({r.right() - w, r.top, w, r.height}, kFocusRing);
    }

    // The skin's own radio button: a round mark in the caption's colour on the surface,
    // filled when checked, and the caption beside it.
    void radio(const Control& c, const Rect& r) {
        const Rgb colour = c.spec().textColour.value_or(Rgb{});
        const double s = scale.factor();
        const double cx = r.left + kMarkCentre * s, cy = r.top + r.height / 2.0;
        canvas.fillRing(cx, cy, kMarkRadius * s, (kMarkRadius - kMarkLine) * s, colour);
        if (c.checked()) canvas.fillRing(cx, cy, kMarkDot * s, 0, colour);
        const int textLeft = r.left + scale.px(kCaptionIndent);
        canvas.drawText(c.text(), {textLeft, r.top, r.right() - textLeft, r.height},
                        {colour, scale.px(kControlFontHeight), false, TextLayout::CentredVertically});
    }

    // The picture takes its own pixel size in layout units, times the scale. Only the part
    // that the box shows is decoded, and kept at the size it is drawn.
    void animation(const Control& box, const Rect& r) {
        canvas.fill(r, box.spec().backColour.value_or(Rgb{}));
        const Control* object = box.placedObject();
        if (!object || canvas.clip().empty()) return;
        if (const auto& part = shown.shown(box, *object, r, scale); part.pixels) {
            canvas.drawBitmap(*part.pixels, part.at.left, part.at.top, nullptr);
        }
    }
};

}  // namespace

const char* buttonPictureName(const Control& button, const PointerState& pointer) {
    const ButtonPictures& p = button.spec().pictures;
    if (!button.enabled()) return p.disabled ? p.disabled : p.normal;
    bool held = pointer.pressed == &button;
    bool checked = button.spec().buttonType == ButtonType::Toggle && button.checked();
    if ((checked || held) && p.pressed) return p.pressed;
    if ((held || pointer.hovered == &button || pointer.focused == &button) && p.hover) return p.hover;
    return p.normal;
}

void paintWindow(const Window& window, Canvas& canvas, const PictureSource& pictures, ShownPictures& shown,
                 const PointerState& pointer, Scale scale) {
    Painter painter{canvas, pictures, shown, pointer, scale};
    const Rect all{0, 0, scale.px(window.bounds().width), scale.px(window.bounds().height)};
    canvas.setClip(intersect(canvas.clip(), all));
    const WindowSpec& spec = window.spec();
    if (const Bitmap* bg = painter.picture(spec.background)) {
        painter.tile(*bg, all);
    } else {
        canvas.fill(all, spec.backColour.value_or(kSystemFace));
    }
    painter.children(window, nullptr);
}

}  // namespace vorlane
