#pragma once
// Bitmap pixels in a top-down 32-bit DIB section, selected into a memory DC of
// their own, so GDI can draw text into the very pixels the portable drawing
// code writes.
#include <windows.h>

#include <memory>
#include <optional>

#include "base/win32/unique_handle.h"
#include "rendering/bitmap.h"

namespace orvalet::win32 {

class DibPixelStorage final : public PixelStorage {
public:
    DibPixelStorage();
    DibPixelStorage(const DibPixelStorage&) = delete;
    DibPixelStorage& operator=(const DibPixelStorage&) = delete;
    ~DibPixelStorage() override;

    std::uint32_t* Resize(int width, int height) override;

    // The memory DC holding the pixels; null while the bitmap is empty.
    HDC DC() const { return bitmap_ ? dc_.get() : nullptr; }

    // The DC of a bitmap whose pixels live in a DIB section, or null.
    static HDC DCOf(const Bitmap& bitmap);

private:
    void Release() noexcept;

    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    std::optional<SelectionGuard> selection_;  // keeps bitmap_ selected into dc_
};

std::unique_ptr<PixelStorage> CreateDibPixelStorage();

// The header of a top-down 32-bit DIB (row 0 first in memory), the layout of
// every Bitmap.
BITMAPINFO TopDown32BitmapInfo(int width, int height);

}  // namespace orvalet::win32
