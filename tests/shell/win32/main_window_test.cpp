#include "shell/meter/win32/main_window_win.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/win32/system_function_win.h"
#include "settings/options.h"
#include "settings/win32/settings_platform_win.h"
#include "shell/tray/tray_hint.h"
#include "support/default_options_records.h"
#include "support/fake_settings_platform.h"
#include "support/main_window_probe.h"
#include "support/menu_reader_win.h"
#include "support/scripted_interface_table.h"
#include "support/tray_hint_copies.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::HardwareRow;
using orvalet::testing::ScriptedInterfaceTable;
using orvalet::testing::TestGuid;

constexpr wchar_t kTestRoot[] = L"Software\\OrvaletTests\\MainWindow";
constexpr wchar_t kOptionsPath[] = L"Software\\OrvaletTests\\MainWindow\\Software\\Orvalet";

// Records what the meter shows in the notification area.
struct TrayRecord {
    std::function<void()> onHint;  // runs inside the tick's hint update, which every tick makes
    // Runs while the icon is added and removed, calls to another process
    // during which the window takes what other threads send it.
    std::function<void(HWND owner)> whileAddedOrRemoved;
    int icons = 0;
    std::vector<std::wstring> hints;
    std::vector<std::wstring> balloons;
    int reinstated = 0;
};

class RecordingTray final : public NotificationIcon {
public:
    RecordingTray(TrayRecord& record, HWND owner) : record_(record), owner_(owner) {
        if (record_.whileAddedOrRemoved) record_.whileAddedOrRemoved(owner_);
    }
    ~RecordingTray() override {
        if (record_.whileAddedOrRemoved) record_.whileAddedOrRemoved(owner_);
    }
    void SetIcon(HICON icon) override { record_.icons += icon != nullptr; }
    void SetHint(std::wstring_view hint) override {
        record_.hints.push_back(CutToTrayHintLength(hint));
        if (record_.onHint) std::exchange(record_.onHint, nullptr)();
    }
    void ShowBalloon(std::wstring_view text) override { record_.balloons.emplace_back(text); }
    void Reinstate() override { ++record_.reinstated; }

private:
    TrayRecord& record_;
    HWND owner_;
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

// The name of a window's client object, as the system's accessibility proxy
// gives it to a screen reader.
std::wstring AccessibleName(HWND window) {
    using FromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    static const auto fromWindow = OnDemandSystemFunction<FromWindowFn>(L"oleacc.dll", "AccessibleObjectFromWindow");
    static const auto freeString = OnDemandSystemFunction<void(WINAPI*)(BSTR)>(L"oleaut32.dll", "SysFreeString");
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    VARIANT self{};
    self.vt = VT_I4;  // lVal 0: CHILDID_SELF
    if (fromWindow && freeString &&
        SUCCEEDED(fromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object)))) {
        object->get_accName(self, &name);
        object->Release();
    }
    std::wstring text = name ? name : L"(none)";
    freeString(name);
    return text;
}

int clientNameChanges = 0;
void CALLBACK CountClientNameChange(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG, DWORD, DWORD) {
    clientNameChanges += object == OBJID_CLIENT;
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
    TOVL_Main& CreateMeter(bool shown = false, SettingsPlatform* settings = nullptr) {
        if (!shown && !settings) Store(L"StartMinimized", 1);
        MainWindowServices services;
        services.interfaceTable = std::make_unique<HookedSource>(table_.MakeSource(), hook_);
        services.settings = settings ? settings : &settings_;
        services.createTrayIcon = [this](HWND owner, UINT, HICON) {
            return std::make_unique<RecordingTray>(tray_, owner);
        };
        services.showStartupError = [this](HWND, const std::wstring& text) { startupErrors_.push_back(text); };
        services.terminate = [this] { ++terminations_; };
        services.trackPopupMenu = [this](HWND, HMENU menu, POINT point) {
            menus_.push_back({point, testing::MenuCaptions(testing::ReadMenu(menu))});
            return menuChoice_;
        };
        meter_.reset();  // one meter at a time, as in the program
        meter_ = std::make_unique<TOVL_Main>(std::move(services));
        EXPECT_TRUE(meter_->Create());
        return *meter_;
    }

    testing::DefaultOptionsRecords records_;
    ScriptedInterfaceTable table_;
    std::function<void()> hook_;
    SystemSettingsPlatform settings_{kTestRoot};
    TrayRecord tray_;
    std::vector<std::wstring> startupErrors_;
    int terminations_ = 0;
    struct OpenedMenu {
        POINT point;
        std::vector<std::wstring> captions;
    };
    std::vector<OpenedMenu> menus_;
    unsigned menuChoice_ = kNoMenuCommand;
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
    EXPECT_TRUE(MainWindowProbe::SamplingTimer(meter).Enabled());
    EXPECT_EQ(MainWindowProbe::SamplingTimer(meter).Count(), 0u) << "no timer tick has been delivered yet";
    EXPECT_GE(tray_.icons, 1);
    ASSERT_FALSE(tray_.hints.empty());
    const TTrafficGraph& graph = MainWindowProbe::GraphControl(meter).Graph();
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
    ::SendMessageW(window, TrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(tray_.reinstated, 1) << "an Explorer restart puts the icon back";
}

TEST_F(MainWindowTest, TheHintShowsTheRatesOfThePreviousPaint) {
    TOVL_Main& meter = CreateMeter();
    const TTrafficGraph& graph = MainWindowProbe::GraphControl(meter).Graph();
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

// A hidden meter, whose name follows the traffic all the same.
TEST_F(MainWindowTest, TheGraphsAccessibleNameReadsTheRatesOfTheHintAndAnnouncesEachChange) {
    TOVL_Main& meter = CreateMeter();
    const HWND graph = MainWindowProbe::GraphControl(meter).Handle();
    const UniqueHandle<HWINEVENTHOOK, &::UnhookWinEvent> hook(
        ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, &CountClientNameChange,
                          ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT));
    clientNameChanges = 0;
    table_.AddTraffic(TestGuid(1), 5'000'000, 7'000'000);
    meter.SamplingTick();
    meter.SamplingTick();  // like the hint, the name has the rates of the last labels
    EXPECT_EQ(AccessibleName(graph), L"Download 4.77 MiB/s, upload 6.68 MiB/s, All Hardware Interfaces");
    meter.SamplingTick();
    meter.SamplingTick();
    EXPECT_EQ(AccessibleName(graph), L"Download 0.0 KiB/s, upload 0.0 KiB/s, All Hardware Interfaces");
    PumpMessages();
    EXPECT_EQ(clientNameChanges, 2) << "one for each new name; an idle tick announces nothing";
    EXPECT_EQ(AccessibleName(meter.Handle()), L"Orvalet") << "the meter's own name stays";
}

// With nothing new to show, a tick hands the notification area no new icon
// and copies no picture to the screen; traffic brings both back.
TEST_F(MainWindowTest, AnIdleTickChangesNothingOnScreenAndTrafficDoes) {
    TOVL_Main& meter = CreateMeter();
    const TrafficGraphControl& graph = MainWindowProbe::GraphControl(meter);
    for (int i = 0; i < 3; ++i) meter.SamplingTick();  // the maximum label settles
    const int icons = tray_.icons;
    const unsigned long paints = graph.Paints();
    for (int i = 0; i < 3; ++i) meter.SamplingTick();
    EXPECT_EQ(tray_.icons, icons);
    EXPECT_EQ(graph.Paints(), paints);

    table_.AddTraffic(TestGuid(1), 5'000'000, 7'000'000);
    meter.SamplingTick();
    EXPECT_EQ(tray_.icons, icons + 1);
    EXPECT_EQ(graph.Paints(), paints + 1);
}

TEST_F(MainWindowTest, StartMinimizedKeepsTheWindowHiddenWhileSamplingRunsAndTheActionsFollowTheWindow) {
    TOVL_Main& meter = CreateMeter(/*shown=*/false);
    const HWND window = meter.Handle();
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_TRUE(MainWindowProbe::SamplingTimer(meter).Enabled());
    EXPECT_TRUE(MainWindowProbe::Actions(meter).State(ActionId::ShowMeterAction).visible);
    EXPECT_FALSE(MainWindowProbe::Actions(meter).State(ActionId::HideMeterAction).visible);

    table_.AddTraffic(TestGuid(1), 3000, 2000);
    meter.SamplingTick();
    EXPECT_EQ(MainWindowProbe::TrafficBuffer(meter).Download(), 3000u);
    EXPECT_EQ(MainWindowProbe::TrafficBuffer(meter).Upload(), 2000u);
    EXPECT_FALSE(::IsWindowVisible(window));

    const TTrafficGraph& graph = MainWindowProbe::GraphControl(meter).Graph();
    meter.HideMeterWindow();
    EXPECT_FALSE(graph.GraphEnabled());
    meter.ShowMeterWindow();
    meter.UpdateMeterActions();
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(graph.GraphEnabled());
    EXPECT_TRUE(MainWindowProbe::Actions(meter).State(ActionId::HideMeterAction).visible);
    EXPECT_FALSE(MainWindowProbe::Actions(meter).State(ActionId::ShowMeterAction).visible);
    const TrafficGraphControl& control = MainWindowProbe::GraphControl(meter);
    ::SendMessageW(control.Handle(), WM_MOUSEHOVER, 0, MAKELPARAM(graph.DrawnGraphArea().right - 1, 0));
    EXPECT_TRUE(::IsWindowVisible(control.ReadoutTip())) << "the cursor rests over the graph";
    meter.HideMeterWindow();
    meter.UpdateMeterActions();
    EXPECT_FALSE(::IsWindowVisible(control.ReadoutTip())) << "the readout goes with the meter";
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_FALSE(graph.GraphEnabled());
    EXPECT_TRUE(MainWindowProbe::Actions(meter).State(ActionId::ShowMeterAction).visible);

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
    const int graphMax = MainWindowProbe::GraphControl(meter).MaxWidth();
    ASSERT_GT(graphMax, 0);
    EXPECT_EQ(MainWindowProbe::SizeConstraints(meter), (SizeLimits{32, 32, graphMax + frame}));

    MINMAXINFO info{};
    info.ptMaxTrackSize = {100000, 100000};
    ::SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 32);
    EXPECT_EQ(info.ptMinTrackSize.y, 32);
    EXPECT_EQ(info.ptMaxTrackSize.x, graphMax + frame);
    EXPECT_EQ(info.ptMaxTrackSize.y, 100000) << "the height is not limited";

    // A resize repaints the graph at once, so its maximum width follows the
    // label column it measures at each size: a resize is held to the limit
    // in force when it happens, and never ends wider than the graph can fill.
    const struct {
        int width, height, expectedWidth, expectedHeight;
    } sizes[] = {{10, 10, 32, 32}, {5000, 300, -1, 300}};
    for (const auto& size : sizes) {
        const int limit = MainWindowProbe::SizeConstraints(meter).maxWidth;
        ::SetWindowPos(window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        meter.UpdateSizeConstraints();
        const RECT clamped = WindowRect(window);
        EXPECT_EQ(clamped.right - clamped.left, size.expectedWidth < 0 ? limit : size.expectedWidth) << size.width;
        EXPECT_LE(clamped.right - clamped.left, MainWindowProbe::GraphControl(meter).MaxWidth() + frame);
        EXPECT_EQ(clamped.bottom - clamped.top, size.expectedHeight) << size.height;
    }
}

TEST_F(MainWindowTest, TheGraphsRightButtonOpensTheMenuWhereClickedAndTheTrayAtTheCursor) {
    Store(L"WindowLeft", 200);
    Store(L"WindowTop", 150);
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    const HWND graph = MainWindowProbe::GraphControl(meter).Handle();
    ::SendMessageW(graph, WM_MBUTTONUP, 0, MAKELPARAM(5, 7));
    ::SendMessageW(graph, WM_LBUTTONUP, 0, MAKELPARAM(5, 7));
    PumpMessages();
    EXPECT_TRUE(menus_.empty()) << "only the right button opens the menu";

    // With fading off the menu's choice shows the meter at once.
    PendingOptions.FadingEnabled = false;
    meter.ApplyPendingOptions();
    menuChoice_ = kShowMeterCommand;
    ::SendMessageW(graph, WM_RBUTTONUP, 0, MAKELPARAM(5, 7));
    EXPECT_TRUE(menus_.empty()) << "the menu opens from the window's own message, after the click's handler";
    PumpMessages();
    ASSERT_EQ(menus_.size(), 1u);
    POINT clicked{5, 7};
    ::ClientToScreen(graph, &clicked);
    EXPECT_EQ(menus_[0].point.x, clicked.x);
    EXPECT_EQ(menus_[0].point.y, clicked.y);
    EXPECT_GT(clicked.y, 157) << "the caption lies between the window's top and the graph";
    EXPECT_EQ(menus_[0].captions[0], L"Show Meter");
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(MainWindowProbe::Actions(meter).State(ActionId::HideMeterAction).visible);

    // The tray icon's menu opens at the cursor point it reports.
    menuChoice_ = kNoMenuCommand;
    ::SendMessageW(window, WM_TRAYICON, MAKEWPARAM(300, 400), MAKELPARAM(WM_CONTEXTMENU, 1));
    PumpMessages();
    ASSERT_EQ(menus_.size(), 2u);
    EXPECT_EQ(menus_[1].point.x, 300);
    EXPECT_EQ(menus_[1].point.y, 400);
    EXPECT_TRUE(::IsWindowVisible(window)) << "a dismissed menu changes nothing";

    menuChoice_ = kExitProgramCommand;
    ::SendMessageW(graph, WM_RBUTTONUP, 0, MAKELPARAM(0, 0));
    PumpMessages();
    ASSERT_EQ(menus_.size(), 3u);
    EXPECT_EQ(menus_[2].captions[0], L"Hide Meter");
    EXPECT_FALSE(::IsWindow(window)) << "the choice ends the program";
    EXPECT_EQ(terminations_, 1);
    EXPECT_EQ(StoredDword(L"WindowLeft"), 200u);
}

TEST_F(MainWindowTest, OnlyWithoutAutoscaleDoesTheTickSetBothMaximaToTheLinkSpeedInBytes) {
    for (const DWORD autoscale : {0u, 1u}) {
        SCOPED_TRACE(autoscale);
        Store(L"Autoscale", autoscale);
        TOVL_Main& meter = CreateMeter();
        TTrafficGraph& graph = MainWindowProbe::GraphControl(meter).Graph();
        EXPECT_EQ(graph.Autoscale(), autoscale != 0);
        EXPECT_EQ(MainWindowProbe::Gauge(meter).AutoScale(), autoscale != 0);
        graph.SetMaxValue(4242);
        MainWindowProbe::Gauge(meter).SetMaxValue(4242);
        graph.SetGraphEnabled(false);  // no paint to rescale the graph
        table_.Row(TestGuid(1)).TransmitLinkSpeed = 8'000'007;
        table_.Row(TestGuid(1)).ReceiveLinkSpeed = 0;
        meter.SamplingTick();
        EXPECT_EQ(graph.MaxValue(), autoscale ? 4242u : 1'000'000u) << "integer division by 8";
        if (!autoscale) {
            EXPECT_EQ(MainWindowProbe::Gauge(meter).MaxValue(), 1'000'000u);
        }
        meter_.reset();
    }
}

TEST_F(MainWindowTest, AReenteredTickReturnsAtOnceAndAThrowingTickDoesNotStopTheNext) {
    TOVL_Main& meter = CreateMeter();
    const int readsBefore = table_.ReadCount();
    bool nestedRan = false;
    hook_ = [&] {
        EXPECT_TRUE(MainWindowProbe::SamplingBusy(meter));
        meter.SamplingTick();  // as if a nested message loop dispatched a tick
        nestedRan = true;
    };
    table_.AddTraffic(TestGuid(1), 100, 50);
    meter.SamplingTick();
    EXPECT_TRUE(nestedRan);
    EXPECT_EQ(table_.ReadCount(), readsBefore + 1) << "the nested tick must not read the table";
    EXPECT_EQ(MainWindowProbe::TrafficBuffer(meter).Download(), 100u);
    const auto& history = MainWindowProbe::TrafficBuffer(meter).DownloadBuffer();
    EXPECT_EQ(history[history.size() - 2], 0u) << "only one value was added";
    EXPECT_FALSE(MainWindowProbe::SamplingBusy(meter));

    hook_ = [] { throw std::runtime_error("table gone"); };
    EXPECT_THROW(meter.SamplingTick(), std::runtime_error);
    EXPECT_FALSE(MainWindowProbe::SamplingBusy(meter));
    table_.AddTraffic(TestGuid(1), 640, 320);
    meter.SamplingTick();
    EXPECT_EQ(MainWindowProbe::TrafficBuffer(meter).Download(), 640u);
    EXPECT_EQ(MainWindowProbe::TrafficBuffer(meter).Upload(), 320u);
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
        PumpMessages();
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

// ---- Appearance and effects ------------------------------------------------

namespace effects {

LONG_PTR ExStyle(HWND window) { return ::GetWindowLongPtrW(window, GWL_EXSTYLE); }
LONG_PTR Style(HWND window) { return ::GetWindowLongPtrW(window, GWL_STYLE); }

void Apply(TOVL_Main& meter, const std::function<void(OVL_OptionsRecord&)>& change) {
    PendingOptions = CurrentOptions;
    change(PendingOptions);
    meter.ApplyPendingOptions();
}

}  // namespace effects

TEST_F(MainWindowTest, TransparencyAlphaAndClickThroughFollowTheOptions) {
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    const struct {
        bool transparency, clickThrough;
        std::int32_t value, alpha;
    } cases[] = {{true, false, 205, 205}, {true, true, 128, 128}, {false, true, 99, -1}, {true, true, 300, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        effects::Apply(meter, [&](OVL_OptionsRecord& o) {
            o.TransparencyEnabled = c.transparency;
            o.ClickThrough = c.clickThrough;
            o.TransparencyValue = c.value;
        });
        EXPECT_EQ((effects::ExStyle(window) & WS_EX_LAYERED) != 0, c.transparency);
        EXPECT_EQ((effects::ExStyle(window) & WS_EX_TRANSPARENT) != 0, c.transparency && c.clickThrough)
            << "click-through is never on without transparency";
        if (c.alpha < 0) continue;
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, c.alpha);
        EXPECT_TRUE(flags & LWA_ALPHA);
        EXPECT_EQ(CurrentOptions.TransparencyValue, c.alpha) << "out of range values are clamped";
    }
}

TEST_F(MainWindowTest, WindowStylesSetTheirBitsAndStyleOneTwiceGivesTheSameWindow) {
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    const struct {
        std::int32_t style;
        LONG_PTR set, cleared;
    } cases[] = {{kWithCaption, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, WS_POPUP},
                 {kWithoutCaption, WS_BORDER | WS_THICKFRAME, WS_DLGFRAME},
                 {kBorderless, WS_POPUP, WS_CAPTION | WS_THICKFRAME},
                 {7, WS_POPUP, WS_CAPTION | WS_THICKFRAME}};  // an unknown style changes nothing
    for (const auto& c : cases) {
        effects::Apply(meter, [&](OVL_OptionsRecord& o) { o.WindowStyle = c.style; });
        EXPECT_EQ(effects::Style(window) & c.set, c.set) << c.style;
        EXPECT_EQ(effects::Style(window) & c.cleared, 0) << c.style;
        EXPECT_TRUE(effects::ExStyle(window) & WS_EX_TOOLWINDOW) << "never a taskbar button";
    }

    effects::Apply(meter, [](OVL_OptionsRecord& o) { o.WindowStyle = kWithoutCaption; });
    const RECT once = WindowRect(window);
    const LONG_PTR styleOnce = effects::Style(window);
    effects::Apply(meter, [](OVL_OptionsRecord& o) { o.WindowStyle = kWithoutCaption; });
    EXPECT_EQ(effects::Style(window), styleOnce);
    const RECT twice = WindowRect(window);
    EXPECT_TRUE(::EqualRect(&once, &twice)) << "the height nudge ends where it began";

    effects::Apply(meter, [](OVL_OptionsRecord& o) { o.WindowStyle = kWithCaption; });
    EXPECT_EQ(effects::Style(window) & WS_CAPTION, WS_CAPTION) << "the caption comes back";
}

TEST_F(MainWindowTest, AnApplyWritesAndRemovesTheAutostartEntry) {
    constexpr wchar_t kRunPath[] =
        L"Software\\OrvaletTests\\MainWindow\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    UniqueKey run;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kRunPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, run.put(),
                                nullptr),
              ERROR_SUCCESS);
    TOVL_Main& meter = CreateMeter();
    const auto entry = [&]() -> std::wstring {
        wchar_t text[MAX_PATH + 3] = {};
        DWORD size = sizeof text;
        if (::RegGetValueW(HKEY_CURRENT_USER, kRunPath, L"Orvalet", RRF_RT_REG_SZ, nullptr, text, &size) !=
            ERROR_SUCCESS)
            return L"";
        return text;
    };
    effects::Apply(meter, [](OVL_OptionsRecord& o) { o.RunOnStartup = true; });
    EXPECT_EQ(entry(), L'"' + settings_.ExecutablePath() + L'"');
    effects::Apply(meter, [](OVL_OptionsRecord& o) { o.RunOnStartup = false; });
    EXPECT_EQ(entry(), L"");
}

// One shown meter for the timers, the fades and the close command: showing
// and hiding a window costs seconds under Wine.
TEST_F(MainWindowTest, PowerEventsFadesAndTheCloseCommandAtTheDefaults) {
    TOVL_Main& meter = CreateMeter(/*shown=*/true);
    const HWND window = meter.Handle();
    TTimerQueueTimer* timers[] = {&MainWindowProbe::SamplingTimer(meter), &MainWindowProbe::FadeTimer(meter),
                                  &MainWindowProbe::MouseFadeTimer(meter)};
    const auto running = [&] {
        return std::vector<bool>{timers[0]->Enabled(), timers[1]->Enabled(), timers[2]->Enabled()};
    };
    ASSERT_EQ(running(), (std::vector<bool>{true, true, true}));
    const auto fadeTimerArmed = [&] { return MainWindowProbe::FadeTimer(meter).Armed(); };
    EXPECT_FALSE(fadeTimerArmed()) << "enabled, but without a system timer while no fade runs";

    const struct {
        WPARAM event;
        bool running;
    } power[] = {{PBT_APMSUSPEND, false}, {PBT_APMSTANDBY, false}, {PBT_APMRESUMEAUTOMATIC, false},
                 {PBT_APMRESUMESUSPEND, true}, {PBT_APMRESUMESTANDBY, true}};
    for (const auto& p : power) {
        ::SendMessageW(window, WM_POWERBROADCAST, p.event, 0);
        EXPECT_EQ(running(), std::vector<bool>(3, p.running)) << p.event;
    }

    const auto offered = [&](ActionId action) { return MainWindowProbe::Actions(meter).State(action); };
    const auto alpha = [&] { return MainWindowProbe::Appearance(meter).Alpha(); };

    // The close command, with the system's low bits set, hides through a fade.
    ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE | 2, 0);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(fadeTimerArmed());
    EXPECT_EQ(offered(ActionId::HideMeterAction), (ActionState{false, true})) << "offered, greyed, while fading";
    for (int tick = 0; tick < 25; ++tick) MainWindowProbe::FadeStep(meter);
    EXPECT_EQ(alpha(), 5);
    EXPECT_TRUE(::IsWindowVisible(window));
    MainWindowProbe::FadeStep(meter);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(alpha(), 0);
    EXPECT_EQ(offered(ActionId::ShowMeterAction), (ActionState{true, true}));
    EXPECT_FALSE(offered(ActionId::HideMeterAction).visible);
    EXPECT_EQ(running(), (std::vector<bool>{true, false, false})) << "no effect timers while hidden";

    meter.ShowMeter();
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(alpha(), 0) << "shown fully transparent";
    EXPECT_TRUE(fadeTimerArmed());
    EXPECT_EQ(offered(ActionId::ShowMeterAction), (ActionState{false, true}));
    for (int tick = 0; tick < 26; ++tick) MainWindowProbe::FadeStep(meter);
    EXPECT_EQ(alpha(), 205);
    EXPECT_EQ(offered(ActionId::HideMeterAction), (ActionState{true, true}));
    EXPECT_FALSE(MainWindowProbe::Fade(meter).FG_active);
    EXPECT_FALSE(fadeTimerArmed()) << "the fade is over";
    EXPECT_TRUE(MainWindowProbe::FadeTimer(meter).Enabled());

    // The cursor coming onto the meter starts a mouse fade; staying off it,
    // none. The cursor goes back where it was: the display's later programs
    // share it.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const RECT bounds = WindowRect(window);
    ::SetCursorPos(bounds.right + 20, bounds.bottom + 20);
    MainWindowProbe::MouseFadeStep(meter);
    EXPECT_FALSE(MainWindowProbe::Fade(meter).FG_active);
    ::SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    MainWindowProbe::MouseFadeStep(meter);
    EXPECT_TRUE(MainWindowProbe::Fade(meter).FG_active);
    EXPECT_TRUE(fadeTimerArmed());
    ::SetCursorPos(cursor.x, cursor.y);

    // Without close to tray the close command ends the program.
    effects::Apply(meter, [](OVL_OptionsRecord& o) { o.CloseToTray = false; });
    ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(terminations_, 1);
}

// Greying and stepping back while the box is open are checked with the real
// boxes; here the dialog fails, and both still come back.
TEST_F(MainWindowTest, AModalDialogThatFailsStillGivesBackItsActionAndTheTopMostState) {
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    ASSERT_TRUE(effects::ExStyle(window) & WS_EX_TOPMOST);
    meter.RunActionDialog(ActionId::About, [](HWND) { throw std::runtime_error("the dialog failed"); });
    EXPECT_TRUE(effects::ExStyle(window) & WS_EX_TOPMOST);
    EXPECT_TRUE(MainWindowProbe::Actions(meter).State(ActionId::About).enabled);
}

// Another thread or process may send WM_CLOSE or WM_ENDSESSION while a tick
// waits in a cross-process call: nothing may be destroyed under the tick.
TEST_F(MainWindowTest, ACloseSentDuringATickWaitsForTheTickAndSavesOnce) {
    for (const UINT message : {WM_CLOSE, WM_ENDSESSION}) {
        SCOPED_TRACE(message);
        testing::FakeSettingsPlatform settings;
        settings.registry.SetValue(L"Software\\Orvalet", L"StartMinimized", MakeDwordValue(1));
        terminations_ = 0;
        TOVL_Main& meter = CreateMeter(false, &settings);
        const HWND window = meter.Handle();
        tray_.onHint = [&] {
            std::atomic<bool> sent{false};
            std::thread other([&] {
                ::SendMessageW(window, message, TRUE, 0);
                sent = true;
            });
            MSG peek{};
            while (!sent) ::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            other.join();
        };
        meter.SamplingTick();
        EXPECT_TRUE(::IsWindow(window)) << "the tick ran to its end";
        PumpMessages();
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(terminations_, 1);
        const auto& writes = settings.registry.Writes();
        EXPECT_EQ(std::count_if(writes.begin(), writes.end(), [](const auto& w) { return w.name == L"WindowLeft"; }),
                  1);
        meter_.reset();
    }
}

// Posted to the thread: it ends the loop even once the window is gone.
UINT userEndMessage = 0;
void CALLBACK EndLoopAsTheUserWould(HWND, UINT, UINT_PTR, DWORD) {
    if (userEndMessage) ::PostThreadMessageW(::GetCurrentThreadId(), userEndMessage, 0, 0);
}

// The move loop and the system menu run inside the handler that started
// them, a drag by the graph among them: a close that arrives meanwhile ends
// the loop and follows once it has returned.
TEST_F(MainWindowTest, ACloseDuringTheMoveLoopOrTheSystemMenuWaitsForItsEnd) {
    const struct {
        WPARAM command;
        LPARAM argument;
        UINT userEnd;  // how the user would end the loop, should it wait for that
    } loops[] = {{SC_MOVE | HTCAPTION, 0, WM_LBUTTONUP}, {SC_KEYMENU, VK_SPACE, 0}};
    for (const auto& loop : loops) {
        SCOPED_TRACE(loop.command);
        terminations_ = 0;
        TOVL_Main& meter = CreateMeter(/*shown=*/true);
        const HWND window = meter.Handle();
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        userEndMessage = loop.userEnd;
        const UINT_PTR userEnd = ::SetTimer(nullptr, 0, 1000, &EndLoopAsTheUserWould);
        ::SendMessageW(window, WM_SYSCOMMAND, loop.command, loop.argument);
        ::KillTimer(nullptr, userEnd);
        EXPECT_TRUE(::IsWindow(window)) << "destroyed inside the loop";
        PumpMessages();
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(terminations_, 1);
        meter_.reset();
    }
}

// What another thread or process sends while the icon is added or removed
// finds every part it reaches, or is left to the default handling.
TEST_F(MainWindowTest, MessagesSentWhileTheTrayIconComesAndGoesFindNoPartMissing) {
    int sent = 0;
    tray_.whileAddedOrRemoved = [&](HWND window) {
        ::SendMessageW(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        ::SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // to the tray, at the defaults
        ::SendMessageW(window, WM_TRAYICON, MAKEWPARAM(10, 10), MAKELPARAM(NIN_SELECT, 1));
        ++sent;
    };
    TOVL_Main& meter = CreateMeter();
    EXPECT_TRUE(MainWindowProbe::SamplingTimer(meter).Enabled());
    PumpMessages();
    EXPECT_TRUE(::IsWindow(meter.Handle())) << "the close command took the meter to the tray, not to its end";
    EXPECT_EQ(terminations_, 0);
    meter_.reset();
    EXPECT_EQ(sent, 2);
}

// An error box runs its own message loop while the failed tick is still on
// the timer's stack: the close it dispatches must wait for the box.
TEST_F(MainWindowTest, ACloseDispatchedByATicksErrorBoxWaitsForTheBox) {
    bool shownDuringBox = false;
    const ErrorHandler previous = SetErrorHandler([&](const std::wstring&) {
        ::PostMessageW(meter_->Handle(), WM_CLOSE, 0, 0);
        PumpMessages();
        shownDuringBox = ::IsWindow(meter_->Handle());
    });
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    hook_ = [] { throw std::runtime_error("table gone"); };
    RunGuarded([&] { meter.SamplingTick(); });  // as the timer delivers the tick
    EXPECT_TRUE(shownDuringBox);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(terminations_, 1);
    meter_.reset();
    SetErrorHandler(previous);
}

// A monitor unplugged, or a work area that shrank, may leave the meter where
// no monitor shows it: it comes back as it does at start.
TEST_F(MainWindowTest, AMeterTheDisplayLeavesOutOfReachComesBack) {
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    const struct {
        UINT message;
        WPARAM wParam;
    } changes[] = {{WM_DISPLAYCHANGE, 32}, {WM_SETTINGCHANGE, SPI_SETWORKAREA}};
    for (const auto& change : changes) {
        ::SetWindowPos(window, nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(window, change.message, change.wParam, 0);
        EXPECT_TRUE(IsWindowReachable(WindowBoundsOf(window), QueryDesktopGeometry())) << change.message;
    }
}

}  // namespace
}  // namespace orvalet::win32
