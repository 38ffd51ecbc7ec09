#include "shell/win32/main_window_win.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/options.h"
#include "settings/win32/settings_platform_win.h"
#include "shell/tray_hint.h"
#include "support/scripted_interface_table.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::HardwareRow;
using orvalet::testing::ScriptedInterfaceTable;
using orvalet::testing::TestGuid;

constexpr wchar_t kTestRoot[] = L"Software\\OrvaletTests\\MainWindow";
constexpr wchar_t kOptionsPath[] = L"Software\\OrvaletTests\\MainWindow\\Software\\Orvalet";

// Records what the meter shows in the notification area.
struct TrayRecord {
    int icons = 0;
    std::vector<std::wstring> hints;
    std::vector<std::wstring> balloons;
    int reinstated = 0;
};

class RecordingTray final : public NotificationIcon {
public:
    explicit RecordingTray(TrayRecord& record) : record_(record) {}
    void SetIcon(HICON icon) override { record_.icons += icon != nullptr; }
    void SetHint(std::wstring_view hint) override { record_.hints.push_back(CutToTrayHintLength(hint)); }
    void ShowBalloon(std::wstring_view text) override { record_.balloons.emplace_back(text); }
    void Reinstate() override { ++record_.reinstated; }

private:
    TrayRecord& record_;
};

// A scripted table whose readings can run a step of the test first, to
// re-enter the tick or to fail with an exception.
class HookedSource final : public InterfaceTableSource {
public:
    HookedSource(std::unique_ptr<InterfaceTableSource> inner, std::function<void()>& hook)
        : inner_(std::move(inner)), hook_(hook) {}
    bool Read(std::vector<InterfaceRow>& rows) override {
        if (hook_) {
            auto hook = std::exchange(hook_, nullptr);  // one reading only
            hook();
        }
        return inner_->Read(rows);
    }

private:
    std::unique_ptr<InterfaceTableSource> inner_;
    std::function<void()>& hook_;
};

void DeleteTestRoot() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OrvaletTests\\MainWindow"); }

void StoreDword(const wchar_t* name, DWORD value) {
    UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kOptionsPath, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void StoreString(const wchar_t* name, const std::wstring& value) {
    UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kOptionsPath, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::optional<DWORD> StoredDword(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kOptionsPath, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

DWORD StoredValueCount() {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kOptionsPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return 0;
    DWORD count = 0;
    ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                       nullptr, nullptr);
    return count;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT PrimaryWorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

class MainWindowTest : public ::testing::Test {
protected:
    static constexpr std::uint64_t kLinkSpeed = 100'000'000;  // bits per second

    void SetUp() override {
        DeleteTestRoot();
        table_.SetRows({HardwareRow(TestGuid(1), L"Test Adapter", 1000, 500, kLinkSpeed)});
    }
    void TearDown() override {
        meter_.reset();
        DeleteTestRoot();
    }

    TOVL_Main& CreateMeter() {
        MainWindowServices services;
        services.interfaceTable = std::make_unique<HookedSource>(table_.MakeSource(), hook_);
        services.settings = &settings_;
        services.createTrayIcon = [this](HWND, UINT, HICON) { return std::make_unique<RecordingTray>(tray_); };
        services.showStartupError = [this](HWND, const std::wstring& text) { startupErrors_.push_back(text); };
        services.terminate = [this] { ++terminations_; };
        meter_ = std::make_unique<TOVL_Main>(std::move(services));
        EXPECT_TRUE(meter_->Create());
        return *meter_;
    }

    ScriptedInterfaceTable table_;
    std::function<void()> hook_;
    SystemSettingsPlatform settings_{kTestRoot};
    TrayRecord tray_;
    std::vector<std::wstring> startupErrors_;
    int terminations_ = 0;
    std::unique_ptr<TOVL_Main> meter_;
};

TEST_F(MainWindowTest, StartsWithGraphIconAndExactHintBeforeTheFirstTimerTick) {
    StoreString(L"MonitoredInterface", TestGuid(1).ToString());
    TOVL_Main& meter = CreateMeter();

    EXPECT_TRUE(::IsWindowVisible(meter.Handle()));
    EXPECT_TRUE(meter.SamplingTimer().Enabled());
    EXPECT_EQ(meter.SamplingTimer().Count(), 0u) << "no timer tick has been delivered yet";
    EXPECT_GE(tray_.icons, 1);
    ASSERT_FALSE(tray_.hints.empty());
    const TTrafficGraph& graph = meter.GraphControl().Graph();
    EXPECT_EQ(tray_.hints.back(), graph.DLabel() + L" | " + graph.ULabel() + L"\rTest Adapter");
    EXPECT_EQ(tray_.hints.back().find(L'\n'), std::wstring::npos);
    EXPECT_GT(graph.RenderBitmap().Width(), 0);
    EXPECT_TRUE(startupErrors_.empty());
    EXPECT_EQ(terminations_, 0);

    wchar_t className[64]{};
    ::GetClassNameW(meter.Handle(), className, 64);
    EXPECT_STREQ(className, MAIN_WINDOW_CLASS);
    EXPECT_EQ(::FindWindowW(MAIN_WINDOW_CLASS, nullptr), meter.Handle());
    EXPECT_TRUE(::GetWindowLongPtrW(meter.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::GetWindowLongPtrW(meter.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(MainWindowTest, TheHintShowsTheRatesOfThePreviousPaint) {
    TOVL_Main& meter = CreateMeter();
    const TTrafficGraph& graph = meter.GraphControl().Graph();

    table_.AddTraffic(TestGuid(1), 5'000'000, 7'000'000);
    const std::wstring before = BuildTrayHint(graph.DLabel(), graph.ULabel(), L"All Hardware Interfaces");
    meter.SamplingTick();
    EXPECT_EQ(tray_.hints.back(), before);

    const std::wstring afterPaint = BuildTrayHint(graph.DLabel(), graph.ULabel(), L"All Hardware Interfaces");
    EXPECT_NE(afterPaint, before) << "the paint of the tick rebuilt the rate labels";
    meter.SamplingTick();
    EXPECT_EQ(tray_.hints.back(), afterPaint);
}

TEST_F(MainWindowTest, StartMinimizedKeepsTheWindowHiddenWhileSamplingRuns) {
    StoreDword(L"StartMinimized", 1);
    TOVL_Main& meter = CreateMeter();
    EXPECT_FALSE(::IsWindowVisible(meter.Handle()));
    EXPECT_TRUE(meter.SamplingTimer().Enabled());
    EXPECT_TRUE(meter.Actions().showMeter.visible);
    EXPECT_FALSE(meter.Actions().hideMeter.visible);

    table_.AddTraffic(TestGuid(1), 3000, 2000);
    meter.SamplingTick();
    EXPECT_EQ(meter.TrafficBuffer().Download(), 3000u);
    EXPECT_EQ(meter.TrafficBuffer().Upload(), 2000u);
    EXPECT_FALSE(::IsWindowVisible(meter.Handle()));
}

TEST_F(MainWindowTest, AStoredPositionElevenPixelsInsideTheDesktopStaysAndTenPixelsMoves) {
    const int desktopRight = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const RECT work = PrimaryWorkArea();

    StoreDword(L"WindowLeft", static_cast<DWORD>(desktopRight - 11));
    StoreDword(L"WindowTop", 100);
    RECT rect = WindowRect(CreateMeter().Handle());
    EXPECT_EQ(rect.left, desktopRight - 11);
    EXPECT_EQ(rect.top, 100);
    meter_.reset();

    StoreDword(L"WindowLeft", static_cast<DWORD>(desktopRight - 10));
    rect = WindowRect(CreateMeter().Handle());
    EXPECT_EQ(rect.left, work.right - 320 - 32);
    EXPECT_EQ(rect.top, work.bottom - 240 - 32);
}

TEST_F(MainWindowTest, AnUnplacedLeftEdgeMovesToThePrimaryWorkAreaCorner) {
    const RECT work = PrimaryWorkArea();
    StoreDword(L"WindowLeft", 0x80000000u);
    StoreDword(L"WindowTop", 10);
    StoreDword(L"WindowWidth", 400);
    StoreDword(L"WindowHeight", 200);
    const RECT rect = WindowRect(CreateMeter().Handle());
    EXPECT_EQ(rect.left, work.right - 400 - 32);
    EXPECT_EQ(rect.top, work.bottom - 200 - 32);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(rect.bottom - rect.top, 200);
}

TEST_F(MainWindowTest, SizeLimitsHoldFromMinimumToTheGraphsWidthPlusTheFrame) {
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    RECT client{};
    ::GetClientRect(window, &client);
    const RECT rect = WindowRect(window);
    const int frame = (rect.right - rect.left) - client.right;
    const int graphMax = meter.GraphControl().MaxWidth();
    ASSERT_GT(graphMax, 0);
    EXPECT_EQ(meter.SizeConstraints(), (SizeLimits{32, 32, graphMax + frame}));

    MINMAXINFO info{};
    info.ptMaxTrackSize = {100000, 100000};
    ::SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 32);
    EXPECT_EQ(info.ptMinTrackSize.y, 32);
    EXPECT_EQ(info.ptMaxTrackSize.x, graphMax + frame);
    EXPECT_EQ(info.ptMaxTrackSize.y, 100000) << "the height is not limited";

    ::SetWindowPos(window, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    meter.UpdateSizeConstraints();
    RECT small = WindowRect(window);
    EXPECT_EQ(small.right - small.left, 32);
    EXPECT_EQ(small.bottom - small.top, 32);

    ::SetWindowPos(window, nullptr, 0, 0, 5000, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    meter.UpdateSizeConstraints();
    RECT wide = WindowRect(window);
    EXPECT_EQ(wide.right - wide.left, meter.SizeConstraints().maxWidth);
}

TEST_F(MainWindowTest, WithoutAutoscaleBothMaximaAreTheLinkSpeedInBytes) {
    StoreDword(L"Autoscale", 0);
    TOVL_Main& meter = CreateMeter();
    EXPECT_EQ(meter.GraphControl().Graph().MaxValue(), kLinkSpeed / 8);
    EXPECT_EQ(meter.Gauge().MaxValue(), kLinkSpeed / 8);
    EXPECT_FALSE(meter.GraphControl().Graph().Autoscale());
    EXPECT_FALSE(meter.Gauge().AutoScale());

    table_.Row(TestGuid(1)).TransmitLinkSpeed = 8'000'007;
    table_.Row(TestGuid(1)).ReceiveLinkSpeed = 0;
    meter.SamplingTick();
    EXPECT_EQ(meter.GraphControl().Graph().MaxValue(), 1'000'000u) << "integer division by 8";
    EXPECT_EQ(meter.Gauge().MaxValue(), 1'000'000u);
}

TEST_F(MainWindowTest, WithAutoscaleTheTickLeavesTheMaximaToTheGraphAndGauge) {
    TOVL_Main& meter = CreateMeter();
    meter.GraphControl().Graph().SetMaxValue(4242);
    meter.Gauge().SetMaxValue(4242);
    meter.GraphControl().Graph().SetGraphEnabled(false);  // no paint to rescale the graph
    meter.SamplingTick();
    EXPECT_EQ(meter.GraphControl().Graph().MaxValue(), 4242u);
}

TEST_F(MainWindowTest, ATickReenteredFromANestedLoopReturnsAtOnce) {
    TOVL_Main& meter = CreateMeter();
    const int readsBefore = table_.ReadCount();
    bool nestedRan = false;
    hook_ = [&] {
        EXPECT_TRUE(meter.SamplingBusy());
        meter.SamplingTick();  // as if a nested message loop dispatched a tick
        nestedRan = true;
    };
    table_.AddTraffic(TestGuid(1), 100, 50);
    meter.SamplingTick();
    EXPECT_TRUE(nestedRan);
    EXPECT_EQ(table_.ReadCount(), readsBefore + 1) << "the nested tick must not read the table";
    EXPECT_EQ(meter.TrafficBuffer().Download(), 100u);
    const auto& history = meter.TrafficBuffer().DownloadBuffer();
    EXPECT_EQ(history[history.size() - 2], 0u) << "only one value was added";
    EXPECT_FALSE(meter.SamplingBusy());
}

TEST_F(MainWindowTest, ATickThatThrowsDoesNotStopTheNextOne) {
    TOVL_Main& meter = CreateMeter();
    hook_ = [] { throw std::runtime_error("table gone"); };
    EXPECT_THROW(meter.SamplingTick(), std::runtime_error);
    EXPECT_FALSE(meter.SamplingBusy());

    table_.AddTraffic(TestGuid(1), 640, 320);
    meter.SamplingTick();
    EXPECT_EQ(meter.TrafficBuffer().Download(), 640u);
    EXPECT_EQ(meter.TrafficBuffer().Upload(), 320u);
}

TEST_F(MainWindowTest, ClosingSavesTheRectangleAndAllFiftySixValues) {
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    ::SetWindowPos(window, nullptr, 200, 150, 333, 222, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window, SW_HIDE);  // the rectangle is saved also while hidden
    meter.ExitProgramExecute();

    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(terminations_, 1);
    EXPECT_EQ(StoredValueCount(), 56u);
    EXPECT_EQ(StoredDword(L"WindowLeft"), 200u);
    EXPECT_EQ(StoredDword(L"WindowTop"), 150u);
    EXPECT_EQ(StoredDword(L"WindowWidth"), 333u);
    EXPECT_EQ(StoredDword(L"WindowHeight"), 222u);
    EXPECT_EQ(tray_.reinstated, 0);
}

TEST_F(MainWindowTest, TheEndOfTheSessionSavesButACancelledOneDoesNot) {
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(StoredValueCount(), 0u);

    ::SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(StoredValueCount(), 56u);
}

TEST_F(MainWindowTest, EachMonitoringProblemBalloonsOnceUntilItClears) {
    TOVL_Main& meter = CreateMeter();
    ASSERT_TRUE(tray_.balloons.empty());

    table_.SetFailing(true);
    meter.SamplingTick();
    EXPECT_EQ(tray_.balloons, (std::vector<std::wstring>{L"Error monitoring currently selected interface(s)",
                                                          L"Nothing to monitor!"}));
    meter.SamplingTick();
    EXPECT_EQ(tray_.balloons.size(), 2u);

    table_.SetFailing(false);
    meter.SamplingTick();
    table_.Row(TestGuid(1)).OperStatus = orvalet::testing::OperStatusDown;
    meter.SamplingTick();
    meter.SamplingTick();
    ASSERT_EQ(tray_.balloons.size(), 3u);
    EXPECT_EQ(tray_.balloons.back(), L"Nothing to monitor!");
}

TEST_F(MainWindowTest, ProblemsStayQuietWhenNotificationsAreOff) {
    StoreDword(L"NotifyMonitoringProblems", 0);
    TOVL_Main& meter = CreateMeter();
    table_.SetFailing(true);
    meter.SamplingTick();
    EXPECT_TRUE(tray_.balloons.empty());
}

TEST_F(MainWindowTest, AnExplorerRestartPutsTheIconBack) {
    TOVL_Main& meter = CreateMeter();
    ::SendMessageW(meter.Handle(), TTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(tray_.reinstated, 1);
}

TEST_F(MainWindowTest, TheMeterActionsFollowShowingAndHiding) {
    TOVL_Main& meter = CreateMeter();
    EXPECT_TRUE(meter.Actions().hideMeter.visible);
    meter.HideMeterWindow();
    meter.UpdateMeterActions();
    EXPECT_FALSE(::IsWindowVisible(meter.Handle()));
    EXPECT_FALSE(meter.GraphControl().Graph().GraphEnabled());
    EXPECT_TRUE(meter.Actions().showMeter.visible);
    meter.ShowMeterWindow();
    meter.UpdateMeterActions();
    EXPECT_TRUE(::IsWindowVisible(meter.Handle()));
    EXPECT_TRUE(meter.GraphControl().Graph().GraphEnabled());
    EXPECT_TRUE(meter.Actions().hideMeter.visible);
}

TEST_F(MainWindowTest, TheBackgroundIsNeverErased) {
    TOVL_Main& meter = CreateMeter();
    const WindowDC dc(meter.Handle());
    EXPECT_EQ(::SendMessageW(meter.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 1);
}

}  // namespace
}  // namespace orvalet::win32
