#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/win32/dpi_win.h"
#include "settings/options.h"
#include "shell/win32/main_window_win.h"
#include "support/bmp_file.h"
#include "support/main_window_probe.h"
#include "support/meter_sandbox_win.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::HardwareRow;
using orvalet::testing::MeterSandbox;
using orvalet::testing::TestGuid;

constexpr wchar_t kTestRoot[] = L"Software\\OrvaletTests\\MeterDpi";

// The system DPI of the test's Wine prefix: 96 in the prefix every test
// shares, another where tray_icon_dpi.sh runs the test in a prefix of its own.
UINT PrefixDpi() {
    const char* dpi = std::getenv("ORVALET_TEST_DPI");
    return dpi ? static_cast<UINT>(std::atoi(dpi)) : kDefaultDpi;
}

// Keeps a copy of the last icon the meter hands to the notification area.
class IconKeepingTray final : public NotificationIcon {
public:
    explicit IconKeepingTray(UniqueIcon& icon) : icon_(icon) {}
    void SetIcon(HICON icon) override { icon_.reset(::CopyIcon(icon)); }
    void SetHint(std::wstring_view) override {}
    void ShowBalloon(std::wstring_view) override {}
    void Reinstate() override {}

private:
    UniqueIcon& icon_;
};

// The colours of an icon's picture, as a bitmap of its size.
Bitmap PictureOf(HICON icon) {
    Bitmap picture;
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return picture;
    const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP header{};
    ::GetObjectW(color.get(), sizeof header, &header);
    picture.SetSize(header.bmWidth, header.bmHeight);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, header.bmWidth, -header.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const WindowDC screen(nullptr);
    ::GetDIBits(screen.get(), color.get(), 0, static_cast<UINT>(header.bmHeight), picture.Row(0), &format,
                DIB_RGB_COLORS);
    return picture;
}

int DesignPixelUnder(int i, int size) { return static_cast<int>(std::floor((i + 0.5) * kGaugeSize / size)); }

// The program declares itself aware of each monitor's DPI; the test runs the
// meter so, and Wine takes the system DPI from the prefix. The icon then has
// the notification area's size there (20, 24, 32 pixels at 120, 144, 192
// DPI) and every pixel is the colour of a design pixel, the one under it.
TEST(MeterAtDpi, TrayIconHasTheNotificationAreaSizeWithNoBlendedPixel) {
    const ThreadDpiAwarenessScope perMonitor(ThreadDpiAwarenessScope::PerMonitorAware());
    ASSERT_EQ(SystemDpi(), PrefixDpi());
    MeterSandbox sandbox(kTestRoot);
    sandbox.Store(L"StartMinimized", 1);
    sandbox.table.SetRows({HardwareRow(TestGuid(1), L"Test Adapter", 1000, 500)});
    UniqueIcon shown;
    MainWindowServices services = sandbox.Services();
    services.createTrayIcon = [&shown](HWND, UINT, HICON) { return std::make_unique<IconKeepingTray>(shown); };
    TOVL_Main meter(std::move(services));
    ASSERT_TRUE(meter.Create());
    sandbox.table.AddTraffic(TestGuid(1), 16000, 0);
    meter.SamplingTick();
    sandbox.table.AddTraffic(TestGuid(1), 11000, 5000);  // of 16000: download 11 segments, upload 5
    meter.SamplingTick();

    const Bitmap icon = PictureOf(shown.get());
    const int size = static_cast<int>(PrefixDpi() * kGaugeSize / kDefaultDpi);
    ASSERT_EQ(icon.Width(), size);
    ASSERT_EQ(icon.Height(), size);
    const Bitmap& design = MainWindowProbe::Gauge(meter).RenderBitmap();
    EXPECT_EQ(design.Pixel(9, 15), 0x00004000u);  // the upload bar's first segment: traffic is shown
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            ASSERT_EQ(icon.Pixel(x, y), design.Pixel(DesignPixelUnder(x, size), DesignPixelUnder(y, size)))
                << x << "," << y;
    testing::SaveBmp(icon, ORVALET_TEST_OUTPUT_DIR "/tray_gauge_" + std::to_string(PrefixDpi()) + ".bmp");
}

// A meter moved onto a monitor of 144 DPI takes the rectangle the system
// suggests, and its labels keep their point sizes: 12 points are 16 pixels at
// 96 DPI and 24 at 144.
TEST(MeterAtDpi, ADpiChangeMovesTheMeterToTheSuggestedRectangleAndScalesItsLabelFont) {
    if (PrefixDpi() != kDefaultDpi) GTEST_SKIP() << "sent from 96 DPI";
    MeterSandbox sandbox(kTestRoot);
    TOVL_Main meter(sandbox.Services());
    ASSERT_TRUE(meter.Create());
    PendingOptions.Fonts[1].Size = 12;
    meter.ApplyPendingOptions();
    const TrafficGraphControl& graph = MainWindowProbe::GraphControl(meter);
    const TextFont label{CurrentOptions.Fonts[1].Name, 12};
    const auto labelHeight = [&] { return -GdiTextRenderer::LogFontOf(label, graph.Text().Dpi()).lfHeight; };
    EXPECT_EQ(labelHeight(), 16);

    RECT suggested{150, 100, 150 + 540, 100 + 400};
    ::SendMessageW(meter.Handle(), kDpiChangedMessage, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    ::GetWindowRect(meter.Handle(), &now);
    EXPECT_EQ(now.left, suggested.left);
    EXPECT_EQ(now.top, suggested.top);
    EXPECT_EQ(now.right, suggested.right);
    EXPECT_EQ(now.bottom, suggested.bottom);
    EXPECT_EQ(labelHeight(), 24);
    EXPECT_EQ(graph.Graph().Dpi(), 144);  // the labels' margins
    EXPECT_EQ(MainWindowProbe::SizeConstraints(meter).minWidth, 48);
}

}  // namespace
}  // namespace orvalet::win32
