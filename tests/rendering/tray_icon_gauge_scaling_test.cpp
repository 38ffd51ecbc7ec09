#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "rendering/tray_icon_gauge.h"
#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

// At 16 the icon is today's 16 x 16 gauge; at any other size every pixel is
// the design pixel under its centre: no blend, whole-pixel segment edges. One
// gauge goes through the sizes, so a new size must draw anew.
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
            const Bitmap& icon = gauge.IconBitmap();
            ASSERT_EQ(icon.Width(), size);
            ASSERT_EQ(icon.Height(), size);
            const auto under = [size](int i) { return static_cast<int>(std::floor((i + 0.5) * kGaugeSize / size)); };
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) ASSERT_EQ(icon.Pixel(x, y), design.Pixel(under(x), under(y))) << x << "," << y;
        }
    }
    TTrayIconGauge gauge;  // a size no icon can have counts as 16
    for (int odd : {0, -24, kMaxGaugeIconSize + 1}) EXPECT_FALSE(gauge.SetIconSize(odd)) << odd;
    for (int edge : {kMaxGaugeIconSize, 1}) {
        EXPECT_TRUE(gauge.SetIconSize(edge));
        gauge.Render();
        EXPECT_EQ(gauge.IconBitmap().Width(), edge);
    }
}

}  // namespace
}  // namespace orvalet
