#include "platform/ui/painter.h"

#include "platform/ui/hit_test.h"

namespace vorlane {
namespace {

constexpr Rgb kSystemFace{240, 240, 240};

struct Painter {
    Canvas& canvas;
    const PictureSource& pictures;
    const ImageDecoder& decoder;
    const PointerState& pointer;

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
        const Rect r = c.windowRect();
        const Rect outer = canvas.clip();
        canvas.setClip(intersect(outer, r));
        switch (c.kind()) {
            case ControlKind::GraphicButton: button(c, r); break;
            case ControlKind::TransparentLabel:
                // A caption may run past its box, as transparent text on the surface.
                canvas.setClip(outer);
                canvas.drawText(c.text(), r,
                                {c.spec().textColour.value_or(Rgb{}), c.spec().fontHeight, true, c.spec().textLayout});
                break;
            case ControlKind::EditBox: canvas.fill(r, c.spec().backColour.value_or(Rgb{255, 255, 255})); break;
            case ControlKind::PictureBox:
                canvas.fill(r, c.spec().backColour.value_or(kSystemFace));
                if (const Bitmap* bmp = c.spec().picture ? pictures.picture(c.spec().picture) : nullptr) {
                    canvas.stretchBitmap(*bmp, r);
                }
                children(window, &c);
                break;
            case ControlKind::AnimationBox: animation(c, r); break;
            default: break;
        }
        canvas.setClip(outer);
    }

    void button(const Control& c, const Rect& r) {
        const char* name = buttonPictureName(c, pointer);
        const Bitmap* bmp = name ? pictures.picture(name) : nullptr;
        if (!bmp) return;
        // A push button without a pressed picture sinks by one pixel while held.
        int sink = (pointer.pressed == &c && !c.spec().pictures.pressed) ? 1 : 0;
        canvas.drawBitmap(*bmp, r.left + sink, r.top + sink, &kTransparentKey);
    }

    void animation(const Control& box, const Rect& r) {
        canvas.fill(r, box.spec().backColour.value_or(Rgb{}));
        const Control* object = box.placedObject();
        if (!object) return;
        if (!object->pictureDecoded()) {
            object->storeDecodedPicture(object->pictureBytes().empty() ? std::nullopt
                                                                       : decoder.decode(object->pictureBytes()));
        }
        if (const auto& bmp = object->decodedPicture()) {
            canvas.drawBitmap(*bmp, r.left + box.placedLeft(), r.top + box.placedTop(), nullptr);
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
    if ((held || pointer.hovered == &button) && p.hover) return p.hover;
    return p.normal;
}

void paintWindow(const Window& window, Canvas& canvas, const PictureSource& pictures, const ImageDecoder& decoder,
                 const PointerState& pointer) {
    Painter painter{canvas, pictures, decoder, pointer};
    const Rect all{0, 0, window.bounds().width, window.bounds().height};
    canvas.setClip(all);
    const WindowSpec& spec = window.spec();
    if (const Bitmap* bg = spec.background ? pictures.picture(spec.background) : nullptr) {
        painter.tile(*bg, all);
    } else {
        canvas.fill(all, spec.backColour.value_or(kSystemFace));
    }
    painter.children(window, nullptr);
}

}  // namespace vorlane
