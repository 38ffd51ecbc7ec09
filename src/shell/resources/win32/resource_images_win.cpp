#include "shell/resources/win32/resource_images_win.h"

#include <cstring>

#include "base/win32/dpi_win.h"
#include "rendering/win32/dib_pixel_storage_win.h"
#include "shell/resources/win32/resource_ids.h"

namespace orvalet::win32 {

std::optional<PixelImage> LoadImageResource(HINSTANCE module, int id) {
    const UniqueBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP header{};
    if (!bitmap || !::GetObjectW(bitmap.get(), sizeof header, &header)) return std::nullopt;

    PixelImage image(header.bmWidth, header.bmHeight);
    BITMAPINFO info = TopDown32BitmapInfo(image.width, image.height);
    const WindowDC screen(nullptr);
    if (!screen || ::GetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(image.height),
                               image.pixels.data(), &info, DIB_RGB_COLORS) != image.height)
        return std::nullopt;
    // Converted from fewer bits, the fourth byte stays 0: such pictures are opaque.
    if (header.bmBitsPixel < 32)
        for (std::uint32_t& pixel : image.pixels) pixel |= 0xFF000000u;
    return image;
}

UniqueBitmap CreateImageBitmap(const PixelImage& image) {
    if (image.width <= 0 || image.height <= 0) return {};
    const BITMAPINFO info = TopDown32BitmapInfo(image.width, image.height);
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
    return bitmap;
}

UniqueBitmap LoadScaledBitmap(HINSTANCE module, int id, UINT dpi) {
    const std::optional<PixelImage> image = LoadImageResource(module, id);
    if (!image) return {};
    return CreateImageBitmap(ResampleImage(*image, Scale(image->width, dpi), Scale(image->height, dpi)));
}

ActionImageList::ActionImageList(HINSTANCE module, UINT dpi) {
    const std::optional<PixelImage> strip = LoadImageResource(module, ORVALET_IDB_ACTION_IMAGES);
    if (!strip) return;
    const int size = Scale(kDesignSize, dpi);
    for (int i = 0; i < kCount; ++i) {
        const PixelImage image = CropImage(*strip, i * kDesignSize, 0, kDesignSize, kDesignSize);
        images_.push_back(CreateImageBitmap(ResampleImage(image, size, size)));
    }
}

HBITMAP ActionImageList::Image(int index) const noexcept {
    if (index < 0 || index >= static_cast<int>(images_.size())) return nullptr;
    return images_[static_cast<std::size_t>(index)].get();
}

}  // namespace orvalet::win32
