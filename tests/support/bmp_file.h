#pragma once
// Saves a Bitmap as a 32-bit BMP file, so a test's picture can be looked at.
#include <cstdint>
#include <fstream>
#include <string>

#include "rendering/bitmap.h"

namespace orvalet::testing {

inline bool SaveBmp(const Bitmap& bitmap, const std::string& path) {
    const std::uint32_t w = static_cast<std::uint32_t>(bitmap.Width());
    const std::uint32_t h = static_cast<std::uint32_t>(bitmap.Height());
    const std::uint32_t headers = 14 + 40;
    const std::uint32_t size = headers + w * h * 4;

    std::ofstream out(path, std::ios::binary);
    auto put16 = [&](std::uint16_t v) { out.put(static_cast<char>(v & 0xFF)).put(static_cast<char>(v >> 8)); };
    auto put32 = [&](std::uint32_t v) {
        put16(static_cast<std::uint16_t>(v & 0xFFFF));
        put16(static_cast<std::uint16_t>(v >> 16));
    };
    out.write("BM", 2);
    put32(size);
    put32(0);
    put32(headers);
    put32(40);                  // BITMAPINFOHEADER
    put32(w);
    put32(static_cast<std::uint32_t>(-static_cast<std::int32_t>(h)));  // top-down
    put16(1);                   // planes
    put16(32);                  // bits per pixel
    for (int i = 0; i < 6; ++i) put32(0);  // BI_RGB, no size, resolution or palette
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) put32(Bitmap::ToMemory(bitmap.Pixel(x, y)));  // B, G, R, 0
    return static_cast<bool>(out);
}

}  // namespace orvalet::testing
