#include "shell/resources/pixel_image.h"

#include <algorithm>

#include "base/rounding.h"

namespace orvalet {
namespace {

std::uint32_t Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

// Where the centre of destination pixel i falls among the source pixels,
// as the lower source index and the weight of the next one.
struct Sample {
    int index;
    double weight;
};

Sample SampleAt(int i, int from, int to) {
    const double position = (i + 0.5) * from / to - 0.5;
    const double clamped = std::clamp(position, 0.0, static_cast<double>(from - 1));
    const int index = std::min(static_cast<int>(clamped), from - 1);
    return {index, clamped - index};
}

}  // namespace

PixelImage::PixelImage(int w, int h)
    : width(std::max(w, 0)), height(std::max(h, 0)), pixels(static_cast<std::size_t>(width) * height) {}

PixelImage CropImage(const PixelImage& image, int left, int top, int width, int height) {
    PixelImage part(width, height);
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x) {
            const int sx = left + x, sy = top + y;
            if (sx >= 0 && sy >= 0 && sx < image.width && sy < image.height) part.At(x, y) = image.At(sx, sy);
        }
    return part;
}

PixelImage ResampleImage(const PixelImage& image, int width, int height) {
    PixelImage result(width, height);
    if (image.width == 0 || image.height == 0) return result;
    for (int y = 0; y < result.height; ++y) {
        const Sample sy = SampleAt(y, image.height, result.height);
        const int y1 = std::min(sy.index + 1, image.height - 1);
        for (int x = 0; x < result.width; ++x) {
            const Sample sx = SampleAt(x, image.width, result.width);
            const int x1 = std::min(sx.index + 1, image.width - 1);
            const std::uint32_t corners[4] = {image.At(sx.index, sy.index), image.At(x1, sy.index),
                                              image.At(sx.index, y1), image.At(x1, y1)};
            const double weights[4] = {(1 - sx.weight) * (1 - sy.weight), sx.weight * (1 - sy.weight),
                                       (1 - sx.weight) * sy.weight, sx.weight * sy.weight};
            std::uint32_t pixel = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                double sum = 0;
                for (int k = 0; k < 4; ++k) sum += weights[k] * Channel(corners[k], shift);
                pixel |= static_cast<std::uint32_t>(RoundHalfEven(std::clamp(sum, 0.0, 255.0))) << shift;
            }
            result.At(x, y) = pixel;
        }
    }
    return result;
}

}  // namespace orvalet
