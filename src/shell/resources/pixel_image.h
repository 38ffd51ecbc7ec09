#pragma once
// Small 32-bit pictures in memory (the menu images, the donation picture):
// cut out of an image strip and resized to the screen's DPI.
#include <cstdint>
#include <vector>

namespace orvalet {

// Pixels 0xAARRGGBB (bytes B, G, R, A, as in a 32-bit DIB) with the colour
// premultiplied by alpha; row 0 at the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelImage() = default;
    PixelImage(int w, int h);
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The part of the image at (left, top) of the given size; pixels beyond the
// image are transparent.
PixelImage CropImage(const PixelImage& image, int left, int top, int width, int height);

// The image at another size, interpolated bilinearly between the pixel
// centres (premultiplied channels blend without dark fringes).
PixelImage ResampleImage(const PixelImage& image, int width, int height);

}  // namespace orvalet
