#include <windows.h>

#include "rendering/win32/tray_icon_gauge_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "sampling/traffic_buffer.h"

namespace orvalet::win32 {
namespace {

// The 256 pixels of a 16 x 16 bitmap as stored: 0xAARRGGBB.
std::vector<std::uint32_t> Bits(HBITMAP bitmap) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> bits(256);
    const HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(::GetDIBits(screen, bitmap, 0, 16, bits.data(), &bi, DIB_RGB_COLORS), 16);
    ::ReleaseDC(nullptr, screen);
    return bits;
}

// The colours (0x00BBGGRR) of an icon, checking that every pixel is opaque:
// full alpha, and a mask that lets nothing through.
std::vector<Color> OpaqueColors(HICON icon) {
    ICONINFO info{};
    EXPECT_TRUE(::GetIconInfo(icon, &info));
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    std::vector<Color> colors;
    for (std::uint32_t p : Bits(color.get())) {
        EXPECT_EQ(p >> 24, 0xFFu) << colors.size();
        colors.push_back(Bitmap::FromMemory(p & 0x00FFFFFFu));
    }
    for (std::uint32_t p : Bits(mask.get())) EXPECT_EQ(p & 0x00FFFFFFu, 0u);
    return colors;
}

bool IsLiveIcon(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return false;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return true;
}

class TrayIconGaugeWinTest : public ::testing::Test {
protected:
    TrayIconGaugeWinTest() { gauge.SetTrafficBuffer(&buffer); }
    TTrafficBuffer buffer;
    TrayGaugeIcon gauge;
};

TEST_F(TrayIconGaugeWinTest, EachReadShowsTheRenderedGaugeOpaqueAndReplacesTheLastIcon) {
    buffer.Add(100, 200);  // autoscale: download full, upload half
    const HICON first = gauge.Icon();
    ASSERT_NE(first, nullptr);
    std::vector<Color> colors = OpaqueColors(first);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(colors[static_cast<std::size_t>(i)], gauge.RenderBitmap().Pixel(i % 16, i / 16)) << i;
    EXPECT_EQ(colors[1], 0x00004000u);            // first download segment
    EXPECT_EQ(colors[15 * 16 + 9], 0x00004000u);  // first upload segment
    EXPECT_EQ(colors[0], 0u);                     // black corner stays opaque

    buffer.Add(16, 0);
    const HICON second = gauge.Icon();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsLiveIcon(first));
    colors = OpaqueColors(second);
    EXPECT_EQ(colors[1], 0u);  // download bar gone: its empty track starts black
    EXPECT_EQ(colors[15 * 16 + 9], 0x00004000u);
}

// Where the system counts GDI and USER objects (Windows) the counts must not
// move; where it does not (Wine reports 0), the gauge's own count of live
// icons and the death of every replaced handle show the same.
TEST_F(TrayIconGaugeWinTest, TenThousandReadsLeaveNoObjectBehind) {
    auto objects = [](DWORD kind) { return ::GetGuiResources(::GetCurrentProcess(), kind); };
    buffer.Add(5, 9);
    HICON previous = gauge.Icon();  // the one icon the gauge keeps from now on
    const long iconsBefore = OpaqueIconBuilder::LiveIcons();
    const DWORD gdiBefore = objects(GR_GDIOBJECTS), userBefore = objects(GR_USEROBJECTS);
    int replacedStillAlive = 0;
    for (int i = 0; i < 10000; ++i) {
        buffer.Add(static_cast<std::uint64_t>(i % 17), static_cast<std::uint64_t>(i % 23));
        const HICON icon = gauge.Icon();
        ASSERT_NE(icon, nullptr) << i;
        if (icon != previous && IsLiveIcon(previous)) ++replacedStillAlive;
        previous = icon;
    }
    EXPECT_EQ(replacedStillAlive, 0);
    EXPECT_EQ(OpaqueIconBuilder::LiveIcons(), iconsBefore);
    EXPECT_EQ(objects(GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(objects(GR_USEROBJECTS), userBefore);
    EXPECT_TRUE(IsLiveIcon(previous));
}

TEST(OpaqueIconBuilder, CountsTheIconsItMakesUntilTheyAreDestroyed) {
    const long before = OpaqueIconBuilder::LiveIcons();
    Bitmap bitmap;
    bitmap.SetSize(16, 16);
    OpaqueIconBuilder builder;
    {
        BuiltIcon a = builder.Build(bitmap);
        BuiltIcon b = builder.Build(bitmap);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(OpaqueIconBuilder::LiveIcons(), before + 2);
        const HICON raw = a.get();
        a = std::move(b);
        EXPECT_FALSE(IsLiveIcon(raw));
        EXPECT_EQ(OpaqueIconBuilder::LiveIcons(), before + 1);
    }
    EXPECT_EQ(OpaqueIconBuilder::LiveIcons(), before);
}

TEST(OpaqueIconBuilder, FillsWhatASmallBitmapLacksWithOpaqueBlack) {
    Bitmap small;
    small.SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) small.SetPixel(x, y, 0x00FFFFFF);
    OpaqueIconBuilder builder;
    BuiltIcon icon = builder.Build(small);
    ASSERT_TRUE(icon);
    const std::vector<Color> colors = OpaqueColors(icon.get());
    EXPECT_EQ(colors[3 * 16 + 3], 0x00FFFFFFu);
    EXPECT_EQ(colors[3 * 16 + 4], 0u);
    EXPECT_EQ(colors[4 * 16 + 3], 0u);
}

}  // namespace
}  // namespace orvalet::win32
