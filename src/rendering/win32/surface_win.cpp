#include "rendering/win32/surface_win.h"

#include <algorithm>

#include "rendering/win32/dib_pixel_storage_win.h"

namespace orvalet::win32 {

namespace detail {
void DestroyBuiltIcon(HICON icon) noexcept { ::DestroyIcon(icon); }
}  // namespace detail

long OpaqueIconBuilder::LiveIcons() { return BuiltIcon::LiveCount(); }

void CopyToDC(const Bitmap& bitmap, HDC dc) {
    if (dc == nullptr || bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
    if (const HDC source = DibPixelStorage::DCOf(bitmap)) {
        ::BitBlt(dc, 0, 0, bitmap.Width(), bitmap.Height(), source, 0, 0, SRCCOPY);
        return;
    }
    // Pixels in plain memory reach the DC without a DIB section of their own.
    const BITMAPINFO info = TopDown32BitmapInfo(bitmap.Width(), bitmap.Height());
    ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(bitmap.Width()), static_cast<DWORD>(bitmap.Height()), 0, 0,
                        0, static_cast<UINT>(bitmap.Height()), bitmap.Row(0), &info, DIB_RGB_COLORS);
}

OpaqueIconBuilder::OpaqueIconBuilder(int size) : size_(std::max(size, 1)) {
    const BITMAPINFO info = TopDown32BitmapInfo(size_, size_);
    void* bits = nullptr;
    color_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    colorBits_ = color_ ? static_cast<std::uint32_t*>(bits) : nullptr;
    // An all-zero AND mask: no pixel lets the background through.
    const std::vector<BYTE> zeros(static_cast<std::size_t>((size_ + 15) / 16 * 2 * size_), 0);
    mask_.reset(::CreateBitmap(size_, size_, 1, 1, zeros.data()));
}

BuiltIcon OpaqueIconBuilder::Build(const Bitmap& bitmap) {
    if (!colorBits_ || !mask_) return {};
    // Full alpha as well as the empty mask, so the icon stays opaque whether
    // the shell draws it with its alpha channel or with its mask.
    for (int y = 0; y < size_; ++y) {
        std::uint32_t* row = colorBits_ + static_cast<std::ptrdiff_t>(y) * size_;
        for (int x = 0; x < size_; ++x) {
            const std::uint32_t pixel = bitmap.Contains(x, y) ? bitmap.Row(y)[x] : 0;
            row[x] = (pixel & 0x00FFFFFFu) | 0xFF000000u;
        }
    }
    ::GdiFlush();
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask_.get();
    info.hbmColor = color_.get();
    return BuiltIcon(::CreateIconIndirect(&info));
}

}  // namespace orvalet::win32
