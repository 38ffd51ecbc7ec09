#include "shell/win32/main_window_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
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

// A scripted table whose next reading can run a step of the test first, to
// re-enter the tick or to fail with an exception.
class HookedSource final : public InterfaceTableSource {
public:
    HookedSource(std::unique_ptr<InterfaceTableSource> inner, std::function<void()>& hook)
        : inner_(std::move(inner)), hook_(hook) {}
    bool Read(std::vector<InterfaceRow>& rows) override {
        if (hook_) std::exchange(hook_, nullptr)();
        return inner_->Read(rows);
    }

private:
    std::unique_ptr<InterfaceTableSource> inner_;
    std::function<void()>& hook_;
};

void Store(const wchar_t* name, DWORD value) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kOptionsPath, name, REG_DWORD, &value, sizeof value),
              ERROR_SUCCESS);
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

class MainWindowTest : public ::testing::Test {
protected:
    static constexpr std::uint64_t kLinkSpeed = 100'000'000;  // bits per second

    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        table_.SetRows({HardwareRow(TestGuid(1), L"Test Adapter", 1000, 500, kLinkSpeed)});
    }
    void TearDown() override {
        meter_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    }

    // Hidden unless asked: under Wine, hiding or destroying a shown window
    // costs about two seconds.
    TOVL_Main& CreateMeter(bool shown = false) {
        if (!shown) Store(L"StartMinimized", 1);
        MainWindowServices services;
        services.interfaceTable = std::make_unique<HookedSource>(table_.MakeSource(), hook_);
        services.settings = &settings_;
        services.createTrayIcon = [this](HWND, UINT, HICON) { return std::make_unique<RecordingTray>(tray_); };
        services.showStartupError = [this](HWND, const std::wstring& text) { startupErrors_.push_back(text); };
        services.terminate = [this] { ++terminations_; };
        services.trackPopupMenu = [this](HWND, POINT point, const std::vector<MenuEntry>& entries) {
            menus_.push_back({point, entries});
            return menuChoice_;
        };
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
    struct OpenedMenu {
        POINT point;
        std::vector<MenuEntry> entries;
    };
    std::vector<OpenedMenu> menus_;
    MenuCommand menuChoice_ = MenuCommand::None;
    std::unique_ptr<TOVL_Main> meter_;
};

TEST_F(MainWindowTest, StartsShownWithIconAndExactHintBeforeTheFirstTimerTick) {
    const std::wstring guid = TestGuid(1).ToString();
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kOptionsPath, L"MonitoredInterface", REG_SZ, guid.c_str(),
                                static_cast<DWORD>((guid.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    TOVL_Main& meter = CreateMeter(/*shown=*/true);
    const HWND window = meter.Handle();

    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(meter.SamplingTimer().Enabled());
    EXPECT_EQ(meter.SamplingTimer().Count(), 0u) << "no timer tick has been delivered yet";
    EXPECT_GE(tray_.icons, 1);
    ASSERT_FALSE(tray_.hints.empty());
    const TTrafficGraph& graph = meter.GraphControl().Graph();
    EXPECT_EQ(tray_.hints.back(), graph.DLabel() + L" | " + graph.ULabel() + L"\rTest Adapter");
    EXPECT_GT(graph.RenderBitmap().Width(), 0);
    EXPECT_TRUE(startupErrors_.empty());
    EXPECT_EQ(terminations_, 0);

    EXPECT_EQ(::FindWindowW(MAIN_WINDOW_CLASS, nullptr), window);
    EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    const WindowDC dc(window);
    EXPECT_EQ(::SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 1)
        << "the background must never be erased";
    ::SendMessageW(window, TTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(tray_.reinstated, 1) << "an Explorer restart puts the icon back";
}

TEST_F(MainWindowTest, TheHintShowsTheRatesOfThePreviousPaint) {
    TOVL_Main& meter = CreateMeter();
    const TTrafficGraph& graph = meter.GraphControl().Graph();
    const auto hint = [&] { return BuildTrayHint(graph.DLabel(), graph.ULabel(), L"All Hardware Interfaces"); };

    table_.AddTraffic(TestGuid(1), 5'000'000, 7'000'000);
    const std::wstring before = hint();
    meter.SamplingTick();
    EXPECT_EQ(tray_.hints.back(), before);

    const std::wstring afterPaint = hint();
    EXPECT_NE(afterPaint, before) << "the paint of the tick rebuilt the rate labels";
    meter.SamplingTick();
    EXPECT_EQ(tray_.hints.back(), afterPaint);
}

TEST_F(MainWindowTest, StartMinimizedKeepsTheWindowHiddenWhileSamplingRunsAndTheActionsFollowTheWindow) {
    TOVL_Main& meter = CreateMeter(/*shown=*/false);
    const HWND window = meter.Handle();
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_TRUE(meter.SamplingTimer().Enabled());
    EXPECT_TRUE(meter.Actions().showMeter.visible);
    EXPECT_FALSE(meter.Actions().hideMeter.visible);

    table_.AddTraffic(TestGuid(1), 3000, 2000);
    meter.SamplingTick();
    EXPECT_EQ(meter.TrafficBuffer().Download(), 3000u);
    EXPECT_EQ(meter.TrafficBuffer().Upload(), 2000u);
    EXPECT_FALSE(::IsWindowVisible(window));

    const TTrafficGraph& graph = meter.GraphControl().Graph();
    meter.HideMeterWindow();
    EXPECT_FALSE(graph.GraphEnabled());
    meter.ShowMeterWindow();
    meter.UpdateMeterActions();
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(graph.GraphEnabled());
    EXPECT_TRUE(meter.Actions().hideMeter.visible);
    EXPECT_FALSE(meter.Actions().showMeter.visible);
    meter.HideMeterWindow();
    meter.UpdateMeterActions();
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_FALSE(graph.GraphEnabled());
    EXPECT_TRUE(meter.Actions().showMeter.visible);

    const std::wstring hintWhenHidden = BuildTrayHint(graph.DLabel(), graph.ULabel(), graph.IFLabel());
    table_.AddTraffic(TestGuid(1), 9'000'000, 8'000'000);
    meter.SamplingTick();
    meter.SamplingTick();
    EXPECT_NE(tray_.hints.back(), hintWhenHidden) << "the hint of a hidden meter keeps following the traffic";
}

TEST_F(MainWindowTest, AStoredPlaceTooFarOutsideTheDesktopMovesToThePrimaryWorkAreaCorner) {
    const int desktopRight = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    const struct {
        DWORD left, top, width, height;
        LONG expectedLeft, expectedTop;
    } cases[] = {
        {static_cast<DWORD>(desktopRight - 11), 100, 320, 240, desktopRight - 11, 100},
        {static_cast<DWORD>(desktopRight - 10), 100, 320, 240, work.right - 320 - 32, work.bottom - 240 - 32},
        {0x80000000u, 10, 400, 200, work.right - 400 - 32, work.bottom - 200 - 32},  // never placed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<LONG>(c.left));
        Store(L"WindowLeft", c.left);
        Store(L"WindowTop", c.top);
        Store(L"WindowWidth", c.width);
        Store(L"WindowHeight", c.height);
        const RECT rect = WindowRect(CreateMeter().Handle());
        EXPECT_EQ(rect.left, c.expectedLeft);
        EXPECT_EQ(rect.top, c.expectedTop);
        EXPECT_EQ(rect.right - rect.left, static_cast<LONG>(c.width));
        EXPECT_EQ(rect.bottom - rect.top, static_cast<LONG>(c.height));
        meter_.reset();
    }
}

TEST_F(MainWindowTest, AStoredSizeDownToTheMinimumComesBackUnchanged) {
    Store(L"WindowLeft", 100);
    Store(L"WindowTop", 120);
    Store(L"WindowWidth", 40);
    Store(L"WindowHeight", 32);
    const RECT rect = WindowRect(CreateMeter().Handle());
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 120);
    EXPECT_EQ(rect.right - rect.left, 40);
    EXPECT_EQ(rect.bottom - rect.top, 32);
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

    const struct {
        int width, height, expectedWidth, expectedHeight;
    } sizes[] = {{10, 10, 32, 32}, {5000, 300, graphMax + frame, 300}};
    for (const auto& size : sizes) {
        ::SetWindowPos(window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        meter.UpdateSizeConstraints();
        const RECT clamped = WindowRect(window);
        EXPECT_EQ(clamped.right - clamped.left, size.expectedWidth) << size.width;
        EXPECT_EQ(clamped.bottom - clamped.top, size.expectedHeight) << size.height;
    }
}

TEST_F(MainWindowTest, TheGraphsRightButtonOpensTheMenuWhereClickedAndTheTrayAtTheCursor) {
    Store(L"WindowLeft", 200);
    Store(L"WindowTop", 150);
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    const HWND graph = meter.GraphControl().Handle();
    ::SendMessageW(graph, WM_MBUTTONUP, 0, MAKELPARAM(5, 7));
    ::SendMessageW(graph, WM_LBUTTONUP, 0, MAKELPARAM(5, 7));
    EXPECT_TRUE(menus_.empty()) << "only the right button opens the menu";

    menuChoice_ = MenuCommand::ShowMeter;
    ::SendMessageW(graph, WM_RBUTTONUP, 0, MAKELPARAM(5, 7));
    ASSERT_EQ(menus_.size(), 1u);
    POINT clicked{5, 7};
    ::ClientToScreen(graph, &clicked);
    EXPECT_EQ(menus_[0].point.x, clicked.x);
    EXPECT_EQ(menus_[0].point.y, clicked.y);
    EXPECT_GT(clicked.y, 157) << "the caption lies between the window's top and the graph";
    EXPECT_EQ(menus_[0].entries, BuildPopupMenuEntries(MeterActionsFor(false)));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(meter.Actions().hideMeter.visible);

    // The tray icon's menu opens at the cursor point it reports.
    menuChoice_ = MenuCommand::None;
    ::SendMessageW(window, WM_TRAYICON, MAKEWPARAM(300, 400), MAKELPARAM(WM_CONTEXTMENU, 1));
    ASSERT_EQ(menus_.size(), 2u);
    EXPECT_EQ(menus_[1].point.x, 300);
    EXPECT_EQ(menus_[1].point.y, 400);
    EXPECT_TRUE(::IsWindowVisible(window)) << "a dismissed menu changes nothing";

    menuChoice_ = MenuCommand::ExitProgram;
    ::SendMessageW(graph, WM_RBUTTONUP, 0, MAKELPARAM(0, 0));
    ASSERT_EQ(menus_.size(), 3u);
    EXPECT_EQ(menus_[2].entries, BuildPopupMenuEntries(MeterActionsFor(true)));
    EXPECT_FALSE(::IsWindow(window)) << "the choice ends the program from the graph's own handler";
    EXPECT_EQ(terminations_, 1);
    EXPECT_EQ(StoredDword(L"WindowLeft"), 200u);
}

TEST_F(MainWindowTest, OnlyWithoutAutoscaleDoesTheTickSetBothMaximaToTheLinkSpeedInBytes) {
    for (const DWORD autoscale : {0u, 1u}) {
        SCOPED_TRACE(autoscale);
        Store(L"Autoscale", autoscale);
        TOVL_Main& meter = CreateMeter();
        TTrafficGraph& graph = meter.GraphControl().Graph();
        EXPECT_EQ(graph.Autoscale(), autoscale != 0);
        EXPECT_EQ(meter.Gauge().AutoScale(), autoscale != 0);
        graph.SetMaxValue(4242);
        meter.Gauge().SetMaxValue(4242);
        graph.SetGraphEnabled(false);  // no paint to rescale the graph
        table_.Row(TestGuid(1)).TransmitLinkSpeed = 8'000'007;
        table_.Row(TestGuid(1)).ReceiveLinkSpeed = 0;
        meter.SamplingTick();
        EXPECT_EQ(graph.MaxValue(), autoscale ? 4242u : 1'000'000u) << "integer division by 8";
        if (!autoscale) {
            EXPECT_EQ(meter.Gauge().MaxValue(), 1'000'000u);
        }
        meter_.reset();
    }
}

TEST_F(MainWindowTest, AReenteredTickReturnsAtOnceAndAThrowingTickDoesNotStopTheNext) {
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

    hook_ = [] { throw std::runtime_error("table gone"); };
    EXPECT_THROW(meter.SamplingTick(), std::runtime_error);
    EXPECT_FALSE(meter.SamplingBusy());
    table_.AddTraffic(TestGuid(1), 640, 320);
    meter.SamplingTick();
    EXPECT_EQ(meter.TrafficBuffer().Download(), 640u);
    EXPECT_EQ(meter.TrafficBuffer().Upload(), 320u);
}

TEST_F(MainWindowTest, ClosingOrTheEndOfTheSessionSavesTheRectangleAndAllFiftySixValues) {
    const std::function<void(TOVL_Main&)> closers[] = {
        [](TOVL_Main& meter) { meter.ExitProgramExecute(); },
        [](TOVL_Main& meter) { ::SendMessageW(meter.Handle(), WM_ENDSESSION, TRUE, 0); },
    };
    for (const auto& close : closers) {
        SCOPED_TRACE(&close == &closers[0] ? "exit" : "end of session");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        terminations_ = 0;
        TOVL_Main& meter = CreateMeter();  // the rectangle is saved also while hidden
        const HWND window = meter.Handle();
        ::SetWindowPos(window, nullptr, 200, 150, 333, 222, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);  // a cancelled end of session
        EXPECT_TRUE(::IsWindow(window));
        EXPECT_EQ(StoredValueCount(), 1u) << "only the value the test stored";

        close(meter);
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(terminations_, 1);
        EXPECT_EQ(StoredValueCount(), 56u);
        EXPECT_EQ(StoredDword(L"WindowLeft"), 200u);
        EXPECT_EQ(StoredDword(L"WindowTop"), 150u);
        EXPECT_EQ(StoredDword(L"WindowWidth"), 333u);
        EXPECT_EQ(StoredDword(L"WindowHeight"), 222u);
        EXPECT_EQ(tray_.reinstated, 0);
    }
}

TEST_F(MainWindowTest, EachMonitoringProblemBalloonsOnceUntilItClearsUnlessNotificationsAreOff) {
    for (const DWORD notify : {0u, 1u}) {
        Store(L"NotifyMonitoringProblems", notify);
        table_.SetFailing(false);
        CreateMeter();
        ASSERT_TRUE(tray_.balloons.empty());
        table_.SetFailing(true);
        meter_->SamplingTick();
        if (!notify) {
            EXPECT_TRUE(tray_.balloons.empty()) << "notifications are off";
        }
    }
    TOVL_Main& meter = *meter_;
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

}  // namespace
}  // namespace orvalet::win32
