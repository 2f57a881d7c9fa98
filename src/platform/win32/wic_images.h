#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

#include "platform/ui/painter.h"

namespace vorlane::win32 {

// PNG (or any format WIC knows) to pixels; nullopt for empty or undecodable bytes.
std::optional<Bitmap> decodeImage(const Bytes& file);

class WicDecoder final : public ImageDecoder {
public:
    std::optional<Bitmap> decode(const Bytes& file) const override { return decodeImage(file); }
};

// A skin picture embedded as an RCDATA resource named after its file, the 2x set's
// with "_2X" after the name; nullopt when the program holds none.
std::optional<Bitmap> resourcePicture(std::string_view name, int factor);

}  // namespace vorlane::win32
