#pragma once
#include <windows.h>
#include <wincodec.h>

#include <optional>
#include <string_view>

#include "ui/skin_pictures.h"
#include "win32/handle.h"

namespace vorlane::win32 {

// PNG (or any format WIC knows) to pixels, with one WIC factory made on first use and kept.
// COM must be initialised on the thread for as long as this lives.
class WicDecoder final : public ImageDecoder {
public:
    std::optional<Bitmap> decode(const Bytes& file, const Rect& part) const override;

private:
    mutable ComPtr<IWICImagingFactory> factory_;
    mutable bool factoryTried_ = false;
};

// The skin pictures embedded as RCDATA resources named after their files, the 2x set's with
// "_2X" after the name; nullopt for a picture the program does not hold.
SkinPictures::Loader resourcePictures(const WicDecoder& decoder);

}  // namespace vorlane::win32
