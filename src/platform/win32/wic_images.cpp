#include "platform/win32/wic_images.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <string>

namespace vorlane::win32 {
namespace {

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};


// One factory, kept until the process ends: creating it is the costly part of a decode.
IWICImagingFactory* wicFactory() {
    static IWICImagingFactory* factory = [] {
        IWICImagingFactory* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made))))
            return static_cast<IWICImagingFactory*>(nullptr);
        return made;
    }();
    return factory;
}

}  // namespace

std::optional<Bitmap> decodeImage(const Bytes& file) {
    if (file.empty() || file.size() > 0x7FFFFFFF) return std::nullopt;
    IWICImagingFactory* factory = wicFactory();
    if (!factory) return std::nullopt;
    ComPtr<IStream> stream;
    stream.p = SHCreateMemStream(file.data(), static_cast<UINT>(file.size()));
    if (!stream.p) return std::nullopt;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT w = 0, h = 0;
    if (FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > 16384 || h > 16384) return std::nullopt;
    Bitmap bmp{static_cast<int>(w), static_cast<int>(h), std::vector<std::uint32_t>(std::size_t{w} * h)};
    if (FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(bmp.pixels.data()))))
        return std::nullopt;
    // Alpha is not used: the picture is drawn opaque, as the launcher shows it.
    for (auto& p : bmp.pixels) p &= 0xFFFFFF;
    return bmp;
}

std::optional<Bitmap> resourcePicture(std::string_view name, int factor) {
    std::wstring wide(name.begin(), name.end());
    if (factor == 2) wide += L"_2x";
    for (auto& c : wide) c = static_cast<wchar_t>(towupper(c));
    HRSRC res = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!res) return std::nullopt;
    auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, res)));
    if (!bytes) return std::nullopt;
    return decodeImage(Bytes(bytes, bytes + SizeofResource(nullptr, res)));
}

}  // namespace vorlane::win32
