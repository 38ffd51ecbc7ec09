#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "rendering/tray_icon_gauge.h"
#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

// The design pixel under the centre of icon pixel i of an icon `size` wide.
int DesignPixelUnder(int i, int size) { return static_cast<int>(std::floor((i + 0.5) * kGaugeSize / size)); }

// At 16 the icon is today's 16 x 16 gauge; at any other size every pixel is
// the design pixel under it: no blend, and whole-pixel segment edges. One
// gauge goes through the sizes, so each new size must draw anew.
TEST(TrayIconGaugeScaling, EveryIconPixelIsTheDesignPixelUnderIt) {
    const std::uint64_t traffic[][2] = {{0, 0}, {1, 16}, {5, 9}, {16, 3}, {16, 16}};  // download, upload of 16
    for (const auto& [down, up] : traffic) {
        TTrafficBuffer buffer;
        buffer.Add(up, down);
        TTrayIconGauge today, gauge;
        for (TTrayIconGauge* g : {&today, &gauge}) {
            g->SetTrafficBuffer(&buffer);
            g->SetAutoScale(false);
            g->SetMaxValue(16);
        }
        const Bitmap& design = today.Render();
        for (int size : {16, 24, 20, 32, 16}) {
            SCOPED_TRACE(::testing::Message() << down << " down, " << up << " up at " << size);
            gauge.SetIconSize(size);
            gauge.Render();
            ASSERT_TRUE(gauge.PictureChanged() || size == kGaugeSize);
            const Bitmap& icon = gauge.IconBitmap();
            ASSERT_EQ(gauge.IconSize(), size);
            ASSERT_EQ(icon.Width(), size);
            ASSERT_EQ(icon.Height(), size);
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    ASSERT_EQ(icon.Pixel(x, y), design.Pixel(DesignPixelUnder(x, size), DesignPixelUnder(y, size)))
                        << x << "," << y;
        }
    }
}

TEST(TrayIconGaugeScaling, ANewSizeIsANewPictureAndSizesNoIconCanHaveCountAs16) {
    TTrayIconGauge gauge;
    gauge.Render();
    gauge.Render();
    EXPECT_FALSE(gauge.PictureChanged());
    EXPECT_TRUE(gauge.SetIconSize(kMaxGaugeIconSize));
    EXPECT_FALSE(gauge.SetIconSize(kMaxGaugeIconSize));
    gauge.Render();
    EXPECT_TRUE(gauge.PictureChanged());
    EXPECT_EQ(gauge.IconBitmap().Width(), kMaxGaugeIconSize);
    for (int odd : {0, -24, kMaxGaugeIconSize + 1}) {
        gauge.SetIconSize(odd);
        EXPECT_EQ(gauge.IconSize(), kGaugeSize) << odd;
        EXPECT_EQ(&gauge.IconBitmap(), &gauge.RenderBitmap()) << odd;
    }
    EXPECT_TRUE(gauge.SetIconSize(1));
}

}  // namespace
}  // namespace orvalet
