// The meter's popup menu, interface choice, tray click and about box, with
// the real window and a scripted interface table.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "settings/options.h"
#include "shell/meter/win32/main_window_win.h"
#include "shell/meter/win32/window_cover_win.h"
#include "support/main_window_probe.h"
#include "support/menu_reader_win.h"
#include "support/meter_sandbox_win.h"
#include "support/scripted_interface_table.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::HardwareRow;
using orvalet::testing::MenuCaptions;
using orvalet::testing::MeterSandbox;
using orvalet::testing::ReadMenu;
using orvalet::testing::SoftwareRow;
using orvalet::testing::TestGuid;
using Captions = std::vector<std::wstring>;

struct OpenedMenu {
    Captions captions;
    std::vector<testing::MenuItemRead> items;
    Captions interfaces;
    std::vector<bool> marks;
};

class MeterMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto disconnected = HardwareRow(TestGuid(4), L"Disconnected");
        disconnected.OperStatus = testing::OperStatusDown;
        sandbox_.table.SetRows({HardwareRow(TestGuid(1), L"Ethernet"), SoftwareRow(TestGuid(3), L"Loopback"),
                                HardwareRow(TestGuid(2), L"Wi-Fi & Bluetooth"), disconnected});
    }
    void Store(const wchar_t* name, DWORD value) { ASSERT_EQ(sandbox_.Store(name, value), ERROR_SUCCESS); }

    TOVL_Main& CreateMeter() {
        MainWindowServices services = sandbox_.Services();
        services.trackPopupMenu = [this](HWND, HMENU menu, POINT) {
            const auto interfaces = ReadMenu(ReadMenu(menu)[2].subMenu);
            OpenedMenu opened{MenuCaptions(ReadMenu(menu)), ReadMenu(menu), MenuCaptions(interfaces), {}};
            for (const auto& item : interfaces) opened.marks.push_back(item.IsChecked());
            menus_.push_back(opened);
            return std::exchange(choice_, kNoMenuCommand);
        };
        meter_.reset();  // one meter at a time, as in the program
        meter_ = std::make_unique<TOVL_Main>(std::move(services));
        EXPECT_TRUE(meter_->Create());
        return *meter_;
    }

    // Right click on the tray icon, as the shell reports it.
    const OpenedMenu& OpenMenu(unsigned choice = kNoMenuCommand) {
        choice_ = choice;
        ::SendMessageW(meter_->Handle(), WM_TRAYICON, MAKEWPARAM(300, 400), MAKELPARAM(WM_CONTEXTMENU, 1));
        PumpMessages();
        EXPECT_FALSE(menus_.empty());
        return menus_.back();
    }

    MeterSandbox sandbox_{L"Software\\OrvaletTests\\TrayMenu"};
    std::vector<OpenedMenu> menus_;
    unsigned choice_ = kNoMenuCommand;
    std::unique_ptr<TOVL_Main> meter_;  // goes before its sandbox
};

TEST_F(MeterMenuTest, TheMenuShowsTheActionsAndTheLiveTableAndAChoiceCountsFromTheNextTick) {
    Store(L"StartMinimized", 1);
    TOVL_Main& meter = CreateMeter();
    const OpenedMenu& first = OpenMenu();
    EXPECT_EQ(first.captions,
              (Captions{L"Show Meter", L"-", L"Network Interface", L"Options", L"About", L"-", L"Exit Orvalet"}));
    for (const auto& item : first.items) EXPECT_FALSE(item.IsGrey()) << std::wstring(item.caption);
    EXPECT_EQ(first.interfaces, (Captions{L"All Hardware Interfaces", L"-", L"Ethernet", L"Wi-Fi && Bluetooth"}))
        << "only hardware interfaces that are up";
    EXPECT_EQ(first.marks, (std::vector<bool>{true, false, false, false}));

    OpenMenu(kFirstInterfaceCommand + 3);  // "Wi-Fi & Bluetooth"
    EXPECT_EQ(PendingOptions.MonitoredInterface, TestGuid(2));
    EXPECT_EQ(CurrentOptions.MonitoredInterface, TestGuid(2));
    sandbox_.table.AddTraffic(TestGuid(1), 1000, 500);
    sandbox_.table.AddTraffic(TestGuid(2), 70, 30);
    meter.SamplingTick();
    EXPECT_EQ(MainWindowProbe::TrafficBuffer(meter).Download(), 70u);
    EXPECT_EQ(MainWindowProbe::TrafficBuffer(meter).Upload(), 30u);
    EXPECT_EQ(OpenMenu().marks, (std::vector<bool>{false, false, false, true}));

    // An apply keeps the choice; unfiltered, the sub-menu follows the table's order.
    PendingOptions.ListEnabledHardwareInterfacesOnly = false;
    meter.ApplyOptionsExecute();
    const OpenedMenu& all = OpenMenu();
    EXPECT_EQ(all.interfaces, (Captions{L"All Hardware Interfaces", L"-", L"Ethernet", L"Loopback",
                                        L"Wi-Fi && Bluetooth", L"Disconnected"}));
    EXPECT_EQ(all.marks, (std::vector<bool>{false, false, false, false, true, false}));

    OpenMenu(kFirstInterfaceCommand);
    EXPECT_EQ(PendingOptions.MonitoredInterface, AllHardwareInterfacesGUID);
    EXPECT_EQ(CurrentOptions.MonitoredInterface, AllHardwareInterfacesGUID);
}

// Run by a thread timer inside the about box's message loop: looks at the
// meter, opens its menu (About shows greyed) and closes the box after it.
TOVL_Main* meterWithBox = nullptr;
struct DuringTheBox {
    bool aboutEnabled = true;
    bool topMost = true;
} during;

void CALLBACK LookAtTheMeterAndCloseTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    during.aboutEnabled = MainWindowProbe::Actions(*meterWithBox).State(ActionId::About).enabled;
    during.topMost = (::GetWindowLongPtrW(meterWithBox->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    meterWithBox->PostDeferred(DeferredCommand::PopupMenu, {300, 400});
    ::PostMessageW(::FindWindowW(L"#32770", L"About Orvalet"), WM_COMMAND, IDOK, 0);
}

TEST_F(MeterMenuTest, WhileTheAboutBoxIsOpenItsActionIsGreyAndATopMostMeterStepsBack) {
    Store(L"StartMinimized", 1);
    Store(L"AlwaysOnTop", 1);
    TOVL_Main& meter = CreateMeter();
    meterWithBox = &meter;
    ::SetTimer(nullptr, 0, 200, &LookAtTheMeterAndCloseTheBox);
    OpenMenu(kAboutCommand);  // the box opens from the meter's own message, after the menu
    meterWithBox = nullptr;

    EXPECT_FALSE(during.aboutEnabled);
    EXPECT_FALSE(during.topMost);
    ASSERT_EQ(menus_.size(), 2u);
    EXPECT_TRUE(menus_[1].items[4].IsGrey()) << "About, while its box is open";
    EXPECT_FALSE(menus_[1].items[3].IsGrey());
    EXPECT_TRUE(::GetWindowLongPtrW(meter.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MeterMenuTest, TrayClickShowsAHiddenMeterAndHidesOneInFullView) {
    Store(L"StartMinimized", 1);
    Store(L"FadingEnabled", 0);
    Store(L"WindowLeft", 620);
    Store(L"WindowTop", 420);
    TOVL_Main& meter = CreateMeter();
    const HWND window = meter.Handle();
    ::SendMessageW(window, WM_TRAYICON, MAKEWPARAM(10, 10), MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(::IsWindowVisible(window));
    ASSERT_FALSE(IsWindowCovered(window)) << "nothing else may lie over the meter here";

    // A keyboard user selects the icon with Enter or Space.
    ::SendMessageW(window, WM_TRAYICON, MAKEWPARAM(10, 10), MAKELPARAM(NIN_KEYSELECT, 1));
    EXPECT_FALSE(::IsWindowVisible(window));
}

// The menu needs the foreground; it takes it through a hidden window, so a
// meter behind another window is neither activated nor raised.
HWND foregroundDuringMenu = nullptr;

TEST_F(MeterMenuTest, TheMenuLeavesACoveredMeterWhereItIs) {
    Store(L"AlwaysOnTop", 0);
    meter_ = std::make_unique<TOVL_Main>(sandbox_.Services());  // the real menu
    ASSERT_TRUE(meter_->Create());
    RECT meter{};
    ::GetWindowRect(meter_->Handle(), &meter);
    const UniqueWindow cover(::CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, meter.left, meter.top,
                                               40, 40, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(IsWindowCovered(meter_->Handle()));
    ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        foregroundDuringMenu = ::GetForegroundWindow();
        ::EndMenu();
    });
    ::SendMessageW(meter_->Handle(), WM_TRAYICON, MAKEWPARAM(300, 400), MAKELPARAM(WM_CONTEXTMENU, 1));
    PumpMessages();
    EXPECT_TRUE(foregroundDuringMenu && foregroundDuringMenu != meter_->Handle());
    EXPECT_TRUE(IsWindowCovered(meter_->Handle()));
}

}  // namespace
}  // namespace orvalet::win32
