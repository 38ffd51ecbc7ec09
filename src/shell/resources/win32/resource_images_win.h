#pragma once
// The program's pictures (menu images, donation picture) from its bitmap
// resources, as bitmaps at the DPI they are shown at.
#include <windows.h>

#include <optional>
#include <vector>

#include "base/win32/unique_handle.h"
#include "shell/resources/pixel_image.h"

namespace orvalet::win32 {

// A bitmap resource of the module in memory; a bitmap without an alpha
// channel comes out opaque. Nothing when the module has no such bitmap.
std::optional<PixelImage> LoadImageResource(HINSTANCE module, int id);

// A top-down 32-bit DIB section holding the image; null for an empty image.
UniqueBitmap CreateImageBitmap(const PixelImage& image);

// The image resized from 96 DPI to dpi, as a bitmap; null when the module
// has no such bitmap.
UniqueBitmap LoadScaledBitmap(HINSTANCE module, int id, UINT dpi);

// The six 18 x 18 images of the actions (OVL_ActionIcons), at a DPI.
class ActionImageList {
public:
    static constexpr int kCount = 6;
    static constexpr int kDesignSize = 18;

    ActionImageList() = default;
    ActionImageList(HINSTANCE module, UINT dpi);

    // Null for an index without an image (the Apply action's 6, or -1).
    HBITMAP Image(int index) const noexcept;

private:
    std::vector<UniqueBitmap> images_;
};

}  // namespace orvalet::win32
