#pragma once
// A 32-bit top-down bitmap. Its pixels live in a PixelStorage: plain memory
// by default, a DIB section on Windows so GDI can draw text into the same
// pixels. In memory a pixel is 0x00RRGGBB (the DIB byte order B, G, R, 0);
// at this interface colours are 0x00BBGGRR like everywhere else.
#include <cstdint>
#include <memory>

#include "rendering/graph_types.h"

namespace orvalet {

class PixelStorage {
public:
    virtual ~PixelStorage() = default;
    // Reallocates for width x height pixels (both >= 0) and returns the first
    // row, or nullptr when the size is empty. Content is undefined afterwards.
    virtual std::uint32_t* Resize(int width, int height) = 0;
};

// Plain heap memory; what Bitmap uses unless it is given another storage.
std::unique_ptr<PixelStorage> CreateMemoryPixelStorage();

class Bitmap {
public:
    Bitmap();  // memory storage
    explicit Bitmap(std::unique_ptr<PixelStorage> storage);

    // Negative sizes count as 0. After a resize the content is undefined;
    // callers redraw every pixel.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Colour of a pixel (0x00BBGGRR); 0 outside the bitmap.
    Color Pixel(int x, int y) const;
    // Sets a pixel; outside the bitmap nothing happens.
    void SetPixel(int x, int y, Color color);

    // Sets left <= x < right, top <= y < bottom to a colour, clipped to the
    // bitmap once; an empty or inverted rectangle sets nothing.
    void FillRect(int left, int top, int right, int bottom, Color color);

    // Copies every pixel of a bitmap of the same size; otherwise does nothing
    // and returns false.
    bool CopyFrom(const Bitmap& source);

    std::uint32_t* Row(int y) { return pixels_ + static_cast<std::ptrdiff_t>(y) * width_; }
    const std::uint32_t* Row(int y) const { return pixels_ + static_cast<std::ptrdiff_t>(y) * width_; }
    PixelStorage& Storage() { return *storage_; }
    const PixelStorage& Storage() const { return *storage_; }

    // Conversions between 0x00BBGGRR and the in-memory 0x00RRGGBB.
    static constexpr std::uint32_t ToMemory(Color c) {
        return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    static constexpr Color FromMemory(std::uint32_t p) { return ToMemory(p); }

private:
    std::unique_ptr<PixelStorage> storage_;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace orvalet
