#include "win32/wic_images.h"

#include <string>

namespace vorlane::win32 {

std::optional<Bitmap> WicDecoder::decode(const Bytes& file, const Rect& part) const {
    if (file.empty() || file.size() > 0x7FFFFFFF) return std::nullopt;
    if (!factoryTried_) {
        factoryTried_ = true;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory_.put()));
    }
    IWICImagingFactory* factory = factory_.get();
    if (!factory) return std::nullopt;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream.get()->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                           nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT w = 0, h = 0;
    if (FAILED(converter.get()->GetSize(&w, &h)) || w == 0 || h == 0 || w > 16384 || h > 16384) return std::nullopt;
    // Only the rows and columns asked for are converted and kept.
    const Rect shown = intersect(part, {0, 0, static_cast<int>(w), static_cast<int>(h)});
    if (shown.empty()) return std::nullopt;
    Bitmap bmp{shown.width, shown.height, {}};
    bmp.pixels.resize(static_cast<std::size_t>(shown.width) * shown.height);
    const WICRect rect{shown.left, shown.top, shown.width, shown.height};
    const UINT stride = static_cast<UINT>(shown.width) * 4;
    if (FAILED(converter.get()->CopyPixels(&rect, stride, stride * static_cast<UINT>(shown.height),
                                           reinterpret_cast<BYTE*>(bmp.pixels.data()))))
        return std::nullopt;
    // Alpha is not used: the picture is drawn opaque, as the launcher shows it.
    for (auto& p : bmp.pixels) p &= 0xFFFFFF;
    return bmp;
}

SkinPictures::Loader resourcePictures(const WicDecoder& decoder) {
    return [&decoder](std::string_view name, int factor) -> std::optional<Bitmap> {
        std::wstring wide(name.begin(), name.end());
        if (factor == 2) wide += L"_2x";
        for (auto& c : wide) c = static_cast<wchar_t>(towupper(c));
        HRSRC res = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
        if (!res) return std::nullopt;
        auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, res)));
        if (!bytes) return std::nullopt;
        return decoder.decode(Bytes(bytes, bytes + SizeofResource(nullptr, res)), kWholePicture);
    };
}

}  // namespace vorlane::win32
