#include "ui/shown_pictures.h"

#include <algorithm>

#include "ui/resample.h"

namespace vorlane {

const ShownPictures::Shown& ShownPictures::shown(const Control& box, const Control& object, const Rect& boxOnDevice,
                                                 Scale scale) {
    const Rect part{-box.placedLeft(), -box.placedTop(), box.bounds().width, box.bounds().height};
    auto it = kept_.find(&object);
    if (it == kept_.end() || it->second.picture != object.pictureRevision() || it->second.part != part ||
        it->second.box != boxOnDevice) {
        // The old pixels go before the new ones are decoded: only one copy at a time.
        if (it != kept_.end()) kept_.erase(it);
        it = kept_.emplace(&object, Kept{object.pictureRevision(), part, boxOnDevice, decode(box, object, part, scale)})
                 .first;
    }
    return it->second.shown;
}

const ShownPictures::Shown* ShownPictures::kept(const Control& object) const {
    auto it = kept_.find(&object);
    return it == kept_.end() ? nullptr : &it->second.shown;
}

ShownPictures::Shown ShownPictures::decode(const Control& box, const Control& object, const Rect& part,
                                           Scale scale) const {
    if (object.pictureBytes().empty()) return {};
    std::optional<Bitmap> pixels = decoder_.decode(object.pictureBytes(), part);
    if (!pixels) return {};
    const Rect at = box.windowRect();
    Shown shown;
    shown.at = scale.rect({at.left + box.placedLeft() + std::max(0, part.left),
                           at.top + box.placedTop() + std::max(0, part.top), pixels->width, pixels->height});
    if (shown.at.width == pixels->width && shown.at.height == pixels->height) {
        shown.pixels = std::move(pixels);
    } else {
        shown.pixels = resample(*pixels, shown.at.width, shown.at.height);
    }
    return shown;
}

}  // namespace vorlane
