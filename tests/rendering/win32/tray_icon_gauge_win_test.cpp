#include <windows.h>

#include "rendering/win32/tray_icon_gauge_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "sampling/traffic_buffer.h"

namespace orvalet::win32 {
namespace {

// The colour pixels of an icon, as 0x00BBGGRR, and whether its mask lets any
// pixel through.
struct IconPixels {
    std::vector<Color> colors;
    std::vector<std::uint8_t> alpha;
    bool maskTransparent = false;
};

IconPixels ReadIcon(HICON icon) {
    ICONINFO info{};
    EXPECT_TRUE(::GetIconInfo(icon, &info));
    UniqueBitmap color(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    IconPixels result;
    const HDC screen = ::GetDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> bits(256);
    EXPECT_EQ(::GetDIBits(screen, color.get(), 0, 16, bits.data(), &bi, DIB_RGB_COLORS), 16);
    for (std::uint32_t p : bits) {
        result.colors.push_back(Bitmap::FromMemory(p & 0x00FFFFFFu));
        result.alpha.push_back(static_cast<std::uint8_t>(p >> 24));
    }
    std::vector<std::uint32_t> maskBits(256);
    bi.bmiHeader.biHeight = -16;
    EXPECT_EQ(::GetDIBits(screen, mask.get(), 0, 16, maskBits.data(), &bi, DIB_RGB_COLORS), 16);
    for (std::uint32_t p : maskBits) result.maskTransparent |= (p & 0x00FFFFFFu) != 0;
    ::ReleaseDC(nullptr, screen);
    return result;
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
    TTrayIconGauge gauge;
};

TEST_F(TrayIconGaugeWinTest, IconShowsTheRenderedGaugeFullyOpaque) {
    buffer.Add(100, 200);  // autoscale: download full, upload half
    const HICON icon = gauge.Icon();
    ASSERT_NE(icon, nullptr);
    const IconPixels pixels = ReadIcon(icon);
    EXPECT_FALSE(pixels.maskTransparent);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(pixels.colors[static_cast<std::size_t>(i)], gauge.RenderBitmap().Pixel(i % 16, i / 16)) << i;
        EXPECT_EQ(pixels.alpha[static_cast<std::size_t>(i)], 0xFF) << i;
    }
    EXPECT_EQ(pixels.colors[1], 0x00004000u);         // first download segment
    EXPECT_EQ(pixels.colors[15 * 16 + 9], 0x00004000u);  // first upload segment
    EXPECT_EQ(pixels.colors[0], 0u);                  // black corner stays opaque
}

TEST_F(TrayIconGaugeWinTest, EachReadReplacesTheOneIconTheGaugeOwns) {
    buffer.Add(0, 16);
    const HICON first = gauge.Icon();
    ASSERT_NE(first, nullptr);

    buffer.Add(16, 0);
    const HICON second = gauge.Icon();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsLiveIcon(first));
    const IconPixels pixels = ReadIcon(second);
    EXPECT_EQ(pixels.colors[1], 0u);  // download bar gone: its empty track starts black
    EXPECT_EQ(pixels.colors[15 * 16 + 9], 0x00004000u);
}

DWORD GdiObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }
DWORD UserObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS); }

// Where the system counts GDI and USER objects (Windows) the counts must not
// move; where it does not (Wine reports 0), the gauge's own count of live
// icons and the death of every replaced handle show the same.
TEST_F(TrayIconGaugeWinTest, TenThousandReadsLeaveNoObjectBehind) {
    buffer.Add(5, 9);
    HICON previous = gauge.Icon();  // the one icon the gauge keeps from now on
    const long iconsBefore = OpaqueIconBuilder::LiveIcons();
    const DWORD gdiBefore = GdiObjects();
    const DWORD userBefore = UserObjects();
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
    EXPECT_EQ(GdiObjects(), gdiBefore);
    EXPECT_EQ(UserObjects(), userBefore);
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
    const IconPixels pixels = ReadIcon(icon.get());
    EXPECT_EQ(pixels.colors[3 * 16 + 3], 0x00FFFFFFu);
    EXPECT_EQ(pixels.colors[3 * 16 + 4], 0u);
    EXPECT_EQ(pixels.alpha[15 * 16 + 15], 0xFF);
    EXPECT_FALSE(pixels.maskTransparent);
}

}  // namespace
}  // namespace orvalet::win32
