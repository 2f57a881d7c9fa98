#include "ui/skin_pictures.h"

#include "ui/resample.h"

namespace vorlane {

const std::optional<Bitmap>& SkinPictures::drawn(std::string_view name, int factor) const {
    Key key{std::string(name), factor};
    auto it = drawn_.find(key);
    if (it == drawn_.end()) it = drawn_.emplace(key, load_(name, factor)).first;
    return it->second;
}

const Bitmap* SkinPictures::picture(std::string_view name, Scale scale) const {
    for (int factor : {1, 2}) {
        if (scale.dpi() != factor * Scale::kBaseDpi) continue;
        if (const auto& exact = drawn(name, factor)) return &*exact;
    }
    Key key{std::string(name), scale.dpi()};
    auto it = scaled_.find(key);
    if (it == scaled_.end()) {
        // The 2x set is drawn at twice the layout size, so the 1x one is not needed beside it.
        const auto& two = drawn(name, 2);
        const auto& source = two ? two : drawn(name, 1);
        std::optional<Bitmap> made;
        if (source) {
            const int width = two ? (two->width + 1) / 2 : source->width;
            const int height = two ? (two->height + 1) / 2 : source->height;
            made = resample(*source, scale.px(width), scale.px(height), &kTransparentKey);
        }
        it = scaled_.emplace(std::move(key), std::move(made)).first;
    }
    return it->second ? &*it->second : nullptr;
}

}  // namespace vorlane
