#pragma once
// Paints a window model: background, then every visible control from the bottom of the
// stacking order up, each picture box clipping its children. The model is in layout
// units; the painter draws in the device pixels of a display scale.
#include <string_view>

#include "ui/canvas.h"
#include "ui/scale.h"
#include "ui/shown_pictures.h"
#include "ui/window.h"

namespace vorlane {

// The skin pictures, looked up by the names the layouts use, at their layout size times
// the scale.
class PictureSource {
public:
    virtual const Bitmap* picture(std::string_view name, Scale scale) const = 0;

protected:
    ~PictureSource() = default;
};

// What the mouse is doing, for the button pictures, and which control shows the
// keyboard focus (only while the keyboard is in use).
struct PointerState {
    const Control* hovered = nullptr;
    const Control* pressed = nullptr;
    const Control* focused = nullptr;
};

inline constexpr Rgb kTransparentKey{160, 160, 160};
// The focus ring: a thin light line along the edge of a plate, or round a link or choice.
inline constexpr Rgb kFocusRing{255, 226, 150};

// Which picture a graphic button shows in its current state.
const char* buttonPictureName(const Control& button, const PointerState& pointer);

// Paints within the canvas's clip, so a host can repaint only what changed.
void paintWindow(const Window& window, Canvas& canvas, const PictureSource& pictures, ShownPictures& shown,
                 const PointerState& pointer = {}, Scale scale = {});

}  // namespace vorlane
