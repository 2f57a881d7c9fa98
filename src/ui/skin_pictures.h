#pragma once
// The skin pictures at a display's scale. Each is drawn twice, at its layout size (1x)
// and at twice that (2x): 100 % shows the 1x set and 200 % the 2x set as drawn; every
// other scale shows the 2x set resampled (or the 1x set, for a picture without a 2x
// version). Each size is made once and kept.
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "ui/painter.h"

namespace vorlane {

class SkinPictures final : public PictureSource {
public:
    // The picture drawn at `factor` (1 or 2) times its layout size; nullopt when there is none.
    using Loader = std::function<std::optional<Bitmap>(std::string_view name, int factor)>;

    explicit SkinPictures(Loader load) : load_(std::move(load)) {}

    const Bitmap* picture(std::string_view name, Scale scale) const override;

private:
    const std::optional<Bitmap>& drawn(std::string_view name, int factor) const;

    Loader load_;
    using Key = std::pair<std::string, int>;
    mutable std::map<Key, std::optional<Bitmap>> drawn_;   // by name and factor
    mutable std::map<Key, std::optional<Bitmap>> scaled_;  // by name and DPI
};

}  // namespace vorlane
