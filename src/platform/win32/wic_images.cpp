#include "platform/win32/wic_images.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <cstring>

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

const Bitmap* ResourcePictures::picture(std::string_view name) const {
    auto it = cache_.find(name);
    if (it == cache_.end()) {
        std::wstring wide(name.begin(), name.end());
        for (auto& c : wide) c = static_cast<wchar_t>(towupper(c));
        std::optional<Bitmap> bmp;
        if (HRSRC res = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */)) {
            HGLOBAL data = LoadResource(nullptr, res);
            auto* bytes = static_cast<const std::uint8_t*>(LockResource(data));
            if (bytes) bmp = decodeImage(Bytes(bytes, bytes + SizeofResource(nullptr, res)));
        }
        it = cache_.emplace(std::string(name), std::move(bmp)).first;
    }
    return it->second ? &*it->second : nullptr;
}

HBITMAP createGdiBitmap(const Bitmap& bmp) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bmp.width;
    bi.bmiHeader.biHeight = -bmp.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (h && bits) std::memcpy(bits, bmp.pixels.data(), bmp.pixels.size() * 4);
    return h;
}

}  // namespace vorlane::win32
