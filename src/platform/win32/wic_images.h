#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "platform/ui/painter.h"

namespace vorlane::win32 {

// PNG (or any format WIC knows) to pixels; nullopt for empty or undecodable bytes.
std::optional<Bitmap> decodeImage(const Bytes& file);

class WicDecoder final : public ImageDecoder {
public:
    std::optional<Bitmap> decode(const Bytes& file) const override { return decodeImage(file); }
};

// The skin pictures embedded as RCDATA resources named after their files.
class ResourcePictures final : public PictureSource {
public:
    const Bitmap* picture(std::string_view name) const override;

private:
    mutable std::map<std::string, std::optional<Bitmap>, std::less<>> cache_;
};

// A GDI bitmap of a picture, for pattern brushes.
HBITMAP createGdiBitmap(const Bitmap& bmp);

}  // namespace vorlane::win32
