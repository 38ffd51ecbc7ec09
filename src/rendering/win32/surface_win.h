#pragma once
// Getting finished bitmaps out: onto a window's surface, or into an icon.
#include <windows.h>

#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "rendering/bitmap.h"

namespace orvalet::win32 {

// Copies the whole bitmap to (0, 0) of a device context, pixel for pixel.
void CopyToDC(const Bitmap& bitmap, HDC dc);

namespace detail {
void DestroyBuiltIcon(HICON icon) noexcept;
}

// An icon made by OpaqueIconBuilder; a kind of its own, so that its live
// count tells the built icons from other icons.
using BuiltIcon = UniqueHandle<HICON, &detail::DestroyBuiltIcon>;

// Turns bitmaps into icons with every pixel opaque. The colour and mask
// bitmaps are made once and reused; each Build makes one new icon and no
// other object.
class OpaqueIconBuilder {
public:
    explicit OpaqueIconBuilder(int size = 16);

    // The icon shows the top-left size x size pixels of the bitmap (black
    // where the bitmap is smaller); null when the system refuses.
    BuiltIcon Build(const Bitmap& bitmap);

    // Icons built and not yet destroyed, in the whole process.
    static long LiveIcons();

private:
    int size_;
    UniqueBitmap color_;
    std::uint32_t* colorBits_ = nullptr;
    UniqueBitmap mask_;
};

// The font names the options dialog offers: "Default" and every installed
// family once, sorted without regard to case.
std::vector<std::wstring> InstalledFontNames();

}  // namespace orvalet::win32
