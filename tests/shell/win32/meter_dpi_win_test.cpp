#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "settings/options.h"
#include "shell/meter/win32/main_window_win.h"
#include "support/bmp_file.h"
#include "support/main_window_probe.h"
#include "support/meter_sandbox_win.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::TestGuid;

// The system DPI of the test's Wine prefix: 96 in the prefix the tests
// share, others where tray_icon_dpi.sh sets LogPixels in a prefix of its own.
UINT PrefixDpi() {
    const char* dpi = std::getenv("ORVALET_TEST_DPI");
    return dpi ? static_cast<UINT>(std::atoi(dpi)) : kDefaultDpi;
}

struct IconKeepingTray final : NotificationIcon {
    explicit IconKeepingTray(UniqueIcon& icon) : icon(icon) {}
    void SetIcon(HICON shown) override { icon.reset(::CopyIcon(shown)); }
    void SetHint(std::wstring_view) override {}
    void ShowBalloon(std::wstring_view) override {}
    void Reinstate() override {}
    UniqueIcon& icon;
};

// The icon's colour pixels, at the icon's size; none without an icon.
void ReadIcon(HICON icon, Bitmap& picture) {
    ICONINFO info{};
    picture.SetSize(0, 0);
    if (!::GetIconInfo(icon, &info)) return;
    const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP header{};
    ::GetObjectW(color.get(), sizeof header, &header);
    picture.SetSize(header.bmWidth, header.bmHeight);
    BITMAPINFO format{{sizeof format.bmiHeader, header.bmWidth, -header.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    ::GetDIBits(WindowDC(nullptr).get(), color.get(), 0, header.bmHeight, picture.Row(0), &format, DIB_RGB_COLORS);
}

// The icon handed to the notification area has its size there (20, 24, 32
// pixels at 120, 144, 192 DPI), and every pixel is the colour of the design
// pixel under it. The meter runs aware of each monitor's DPI, as the program
// declares itself.
TEST(MeterAtDpi, TrayIconHasTheNotificationAreaSizeWithNoBlendedPixel) {
    const ThreadDpiAwarenessScope perMonitor(ThreadDpiAwarenessScope::PerMonitorAware());
    testing::MeterSandbox sandbox(L"Software\\OrvaletTests\\MeterDpi");
    sandbox.Store(L"StartMinimized", 1);
    sandbox.table.SetRows({testing::HardwareRow(TestGuid(1), L"Test Adapter")});
    UniqueIcon icon;
    MainWindowServices services = sandbox.Services();
    services.createTrayIcon = [&icon](HWND, UINT, HICON) { return std::make_unique<IconKeepingTray>(icon); };
    TOVL_Main meter(std::move(services));
    ASSERT_TRUE(meter.Create());
    // Made at this DPI, the meter has its size limits for it: 32 pixels at 96.
    // (Checked here, as this test runs at every DPI.)
    EXPECT_EQ(MainWindowProbe::SizeConstraints(meter).minWidth, static_cast<int>(PrefixDpi() * 32 / kDefaultDpi));
    const int size = static_cast<int>(PrefixDpi() * kGaugeSize / kDefaultDpi);
    Bitmap picture;
    ReadIcon(icon.get(), picture);
    EXPECT_EQ(picture.Width(), size) << "the first icon";
    // A new icon size, or a new notification area, has the icon drawn and
    // handed over again at the area's size; an unchanged size hands nothing.
    for (const UINT message : {static_cast<UINT>(WM_SETTINGCHANGE), TrayIcon::TaskbarCreatedMessage()}) {
        MainWindowProbe::Gauge(meter).SetIconSize(size == kGaugeSize ? 2 * kGaugeSize : kGaugeSize);
        icon.reset();
        ::SendMessageW(meter.Handle(), message, SPI_SETICONMETRICS, 0);
        ReadIcon(icon.get(), picture);
        EXPECT_EQ(picture.Width(), size) << message;
    }
    icon.reset();
    ::SendMessageW(meter.Handle(), WM_SETTINGCHANGE, SPI_SETICONMETRICS, 0);
    EXPECT_FALSE(icon);
    for (const auto& [down, up] : {std::pair{16000, 0}, std::pair{11000, 5000}}) {  // 11 and 5 segments of 16
        sandbox.table.AddTraffic(TestGuid(1), down, up);
        meter.SamplingTick();
    }
    ReadIcon(icon.get(), picture);
    ASSERT_EQ(picture.Width(), size);
    ASSERT_EQ(picture.Height(), size);
    const Bitmap& design = MainWindowProbe::Gauge(meter).RenderBitmap();
    EXPECT_EQ(design.Pixel(9, 15), 0x00004000u);  // the upload's first segment: the traffic is shown
    const auto under = [size](int i) { return (i * 2 + 1) * kGaugeSize / (size * 2); };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) ASSERT_EQ(picture.Pixel(x, y), design.Pixel(under(x), under(y))) << x << "," << y;
    testing::SaveBmp(picture, ORVALET_TEST_OUTPUT_DIR "/tray_gauge_" + std::to_string(PrefixDpi()) + ".bmp");
}

// Moved onto a monitor of 144 DPI, the meter takes the rectangle the system
// suggests, and its label fonts keep their points: 12 points are 16 pixels
// at 96 DPI, 24 at 144.
TEST(MeterAtDpi, ADpiChangeMovesTheMeterToTheSuggestedRectangleAndScalesItsLabelFont) {
    if (PrefixDpi() != kDefaultDpi) GTEST_SKIP() << "sent from 96 DPI";
    testing::MeterSandbox sandbox(L"Software\\OrvaletTests\\MeterDpi");
    TOVL_Main meter(sandbox.Services());
    ASSERT_TRUE(meter.Create());
    PendingOptions.Fonts[1].Size = 12;
    meter.ApplyPendingOptions();
    const TrafficGraphControl& graph = MainWindowProbe::GraphControl(meter);
    const auto labelHeight = [&] {
        return -GdiTextRenderer::LogFontOf({CurrentOptions.Fonts[1].Name, 12}, graph.Text().Dpi()).lfHeight;
    };
    EXPECT_EQ(labelHeight(), 16);

    RECT suggested{150, 100, 150 + 540, 100 + 400}, now{};
    MainWindowProbe::Gauge(meter).SetIconSize(2 * kGaugeSize);
    ::SendMessageW(meter.Handle(), kDpiChangedMessage, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(MainWindowProbe::Gauge(meter).IconSize(), kGaugeSize) << "the notification area's, at 96 DPI";
    ::GetWindowRect(meter.Handle(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    EXPECT_EQ(labelHeight(), 24);
    EXPECT_EQ(graph.Graph().Dpi(), 144);  // the labels' margins
    EXPECT_EQ(MainWindowProbe::SizeConstraints(meter).minWidth, 48);
    ::SendMessageW(meter.Handle(), kDpiChangedMessage, 0, 0);  // nonsense changes nothing
    ::GetWindowRect(meter.Handle(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    EXPECT_EQ(labelHeight(), 24);
}

}  // namespace
}  // namespace orvalet::win32
