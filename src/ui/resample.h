#pragma once
// Resizing pictures for the display's scale.
#include "ui/bitmap.h"

namespace vorlane {

// Area-weighted resampling to width x height: each new pixel is the mean of the source
// area it covers, so a picture shrinks without dropping thin lines and grows without
// blurring beyond one pixel. Only `part` of the result is made (its pixels, part.width x
// part.height), so a large picture can be drawn a piece at a time.
// With a colour key, key pixels lend no colour: a new pixel that key pixels cover half
// or more of becomes the key, any other is the mean of its other pixels and is never the
// key itself, so no grey fringe forms where a plate meets its transparent ground.
Bitmap resample(const Bitmap& source, int width, int height, const Rect& part, const Rgb* key = nullptr);

inline Bitmap resample(const Bitmap& source, int width, int height, const Rgb* key = nullptr) {
    return resample(source, width, height, {0, 0, width, height}, key);
}

}  // namespace vorlane
