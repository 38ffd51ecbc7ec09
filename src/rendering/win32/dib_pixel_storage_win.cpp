#include "rendering/win32/dib_pixel_storage_win.h"

namespace orvalet::win32 {

DibPixelStorage::DibPixelStorage() : dc_(::CreateCompatibleDC(nullptr)) {}

DibPixelStorage::~DibPixelStorage() { Release(); }

void DibPixelStorage::Release() noexcept {
    selection_.reset();  // the DIB must leave the DC before it is deleted
    bitmap_.reset();
}

std::uint32_t* DibPixelStorage::Resize(int width, int height) {
    Release();
    if (width <= 0 || height <= 0 || !dc_) return nullptr;

    const BITMAPINFO info = TopDown32BitmapInfo(width, height);
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || bits == nullptr) {
        bitmap_.reset();
        return nullptr;
    }
    selection_.emplace(dc_.get(), bitmap_.get());
    return static_cast<std::uint32_t*>(bits);
}

HDC DibPixelStorage::DCOf(const Bitmap& bitmap) {
    const auto* dib = dynamic_cast<const DibPixelStorage*>(&bitmap.Storage());
    return dib ? dib->DC() : nullptr;
}

std::unique_ptr<PixelStorage> CreateDibPixelStorage() { return std::make_unique<DibPixelStorage>(); }

BITMAPINFO TopDown32BitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace orvalet::win32
