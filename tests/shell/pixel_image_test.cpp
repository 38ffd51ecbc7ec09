#include "shell/resources/pixel_image.h"

#include <gtest/gtest.h>

namespace orvalet {
namespace {

TEST(PixelImage, CropsWithTransparentMarginsAndResamplesBetweenPixelCentres) {
    PixelImage strip(4, 1);
    strip.pixels = {0xFF000000u, 0xFFFFFFFFu, 0x80800000u, 0x00000000u};
    const PixelImage part = CropImage(strip, 2, 0, 3, 2);
    EXPECT_EQ(part.pixels, (std::vector<std::uint32_t>{0x80800000u, 0u, 0u, 0u, 0u, 0u}));

    // Same size: unchanged. Twice the size: the outer pixels keep their
    // colour, the inner ones lie a quarter of the way between neighbours.
    EXPECT_EQ(ResampleImage(strip, 4, 1).pixels, strip.pixels);
    const PixelImage wide = ResampleImage(CropImage(strip, 0, 0, 2, 1), 4, 2);
    EXPECT_EQ(wide.At(0, 0), 0xFF000000u);
    EXPECT_EQ(wide.At(1, 1), 0xFF404040u);
    EXPECT_EQ(wide.At(2, 0), 0xFFBFBFBFu);
    EXPECT_EQ(wide.At(3, 1), 0xFFFFFFFFu);
    EXPECT_EQ(ResampleImage(PixelImage{}, 3, 3).pixels.size(), 9u);
}

}  // namespace
}  // namespace orvalet
