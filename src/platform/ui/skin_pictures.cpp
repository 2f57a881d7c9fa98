#include "platform/ui/skin_pictures.h"

#include "platform/ui/resample.h"

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
        const auto& one = drawn(name, 1);
        const auto& two = drawn(name, 2);
        std::optional<Bitmap> made;
        if (one || two) {
            const int width = one ? one->width : (two->width + 1) / 2;
            const int height = one ? one->height : (two->height + 1) / 2;
            made = resample(two ? *two : *one, scale.px(width), scale.px(height), &kTransparentKey);
        }
        it = scaled_.emplace(std::move(key), std::move(made)).first;
    }
    return it->second ? &*it->second : nullptr;
}

}  // namespace vorlane
