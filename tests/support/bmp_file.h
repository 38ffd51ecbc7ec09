#pragma once
// Saves a Bitmap as a 32-bit top-down BMP file, so a test's picture can be looked at.
#include <cstdint>
#include <fstream>
#include <string>

#include "rendering/bitmap.h"

namespace orvalet::testing {

inline bool SaveBmp(const Bitmap& bitmap, const std::string& path) {
    const auto w = static_cast<std::uint32_t>(bitmap.Width()), h = static_cast<std::uint32_t>(bitmap.Height());
    std::ofstream out(path, std::ios::binary);
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    out.write("BM", 2);
    put(54 + w * h * 4, 4);  // file size
    put(0, 4);
    put(54, 4);  // pixel data offset: file and BITMAPINFOHEADER
    put(40, 4);  // BITMAPINFOHEADER
    put(w, 4);
    put(static_cast<std::uint32_t>(-static_cast<std::int32_t>(h)), 4);  // negative: top-down
    put(1, 2);  // planes
    put(32, 2);  // bits per pixel
    for (int i = 0; i < 6; ++i) put(0, 4);  // BI_RGB, no size, resolution or palette
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) put(Bitmap::ToMemory(bitmap.Pixel(x, y)), 4);  // B, G, R, 0
    return static_cast<bool>(out);
}

}  // namespace orvalet::testing
