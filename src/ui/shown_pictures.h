#pragma once
// What a window shows of each animation object's picture: only the part its box shows,
// decoded and kept at the size it is drawn (in device pixels), so a window keeps no more
// than it can show and decodes again when that part, the box or the picture changes. The
// host that paints a window owns this; the model keeps only the picture file's bytes.
#include <optional>
#include <unordered_map>

#include "ui/bitmap.h"
#include "ui/control.h"
#include "ui/geometry.h"
#include "ui/scale.h"

namespace vorlane {

// Decodes a picture file (PNG in practice): only the pixels within `part` of it (in the
// picture's pixels, clamped to the picture), so a window keeps no more than it can show.
// nullopt for bytes it cannot decode, or a part that misses the picture.
class ImageDecoder {
public:
    virtual std::optional<Bitmap> decode(const Bytes& file, const Rect& part) const = 0;

protected:
    ~ImageDecoder() = default;
};

// A part that asks for the whole picture.
inline constexpr Rect kWholePicture{0, 0, 1 << 30, 1 << 30};

class ShownPictures {
public:
    explicit ShownPictures(const ImageDecoder& decoder) : decoder_(decoder) {}

    struct Shown {
        Rect at;                       // where the pixels go on the device
        std::optional<Bitmap> pixels;  // nullopt: nothing to show
    };
    // The object placed in `box`, as the box shows it at `boxOnDevice`.
    const Shown& shown(const Control& box, const Control& object, const Rect& boxOnDevice, Scale scale);
    // What is kept of an object's picture, if it has been shown.
    const Shown* kept(const Control& object) const;

private:
    struct Kept {
        unsigned picture;  // the object's picture revision
        Rect part;         // of the picture, in its pixels: where the box lies over it
        Rect box;          // the box on the device
        Shown shown;
    };
    Shown decode(const Control& box, const Control& object, const Rect& part, Scale scale) const;

    const ImageDecoder& decoder_;
    std::unordered_map<const Control*, Kept> kept_;
};

}  // namespace vorlane
