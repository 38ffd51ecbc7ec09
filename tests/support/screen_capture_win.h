#pragma once
// Saves a part of the screen as a BMP file, so a test can show what the
// user would have seen (an open menu, a dialog).
#include <windows.h>

#include <string>

#include "base/win32/unique_handle.h"
#include "rendering/bitmap.h"
#include "rendering/win32/dib_pixel_storage_win.h"
#include "support/bmp_file.h"

namespace orvalet::testing {

inline bool SaveScreenArea(const RECT& area, const std::string& path) {
    Bitmap picture(win32::CreateDibPixelStorage());
    picture.SetSize(area.right - area.left, area.bottom - area.top);
    const win32::WindowDC screen(nullptr);
    const HDC target = win32::DibPixelStorage::DCOf(picture);
    if (!screen || !target ||
        !::BitBlt(target, 0, 0, picture.Width(), picture.Height(), screen.get(), area.left, area.top, SRCCOPY))
        return false;
    return SaveBmp(picture, path);
}

}  // namespace orvalet::testing
