// The options dialog opened from the running meter.
#include <gtest/gtest.h>

#include <memory>

#include "settings/options.h"
#include "settings/win32/settings_platform_win.h"
#include "shell/tray_menu_model.h"
#include "shell/win32/main_window_win.h"
#include "support/main_window_probe.h"
#include "support/options_dialog_driver.h"
#include "support/scripted_interface_table.h"

namespace orvalet::win32 {
namespace {

using enum OptionsControl;
using testing::ModalScript;
using testing::OptionsDialogDriver;

constexpr wchar_t kTestRoot[] = L"Software\\OrvaletTests\\OptionsExecute";

class SilentTray final : public NotificationIcon {
public:
    void SetIcon(HICON) override {}
    void SetHint(std::wstring_view) override {}
    void ShowBalloon(std::wstring_view) override {}
    void Reinstate() override {}
};

bool TopMost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

BYTE Alpha(HWND window) {
    BYTE alpha = 0;
    ::GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr);
    return alpha;
}

class OptionsExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        const DWORD startMinimized = 1;  // hidden: showing costs seconds under Wine
        ::RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(kTestRoot) + L"\\Software\\Orvalet").c_str(),
                          L"StartMinimized", REG_DWORD, &startMinimized, sizeof startMinimized);
        table_.SetRows({orvalet::testing::HardwareRow(orvalet::testing::TestGuid(1), L"Test Adapter")});
        MainWindowServices services;
        services.interfaceTable = table_.MakeSource();
        services.settings = &settings_;
        services.createTrayIcon = [](HWND, UINT, HICON) { return std::make_unique<SilentTray>(); };
        services.terminate = [] {};
        services.trackPopupMenu = [](HWND, HMENU, POINT) { return kOptionsCommand; };
        meter_ = std::make_unique<TOVL_Main>(std::move(services));
        ASSERT_TRUE(meter_->Create());
    }
    void TearDown() override {
        meter_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    }

    // Opens the dialog with the Options action, or by choosing "Options" from
    // the menu.
    void Open(std::function<void(const OptionsDialogDriver&)> script, bool fromMenu = false) {
        if (fromMenu)
            meter_->PostDeferred(DeferredCommand::PopupMenu);
        else
            meter_->OptionsExecute();
        script_.Post(std::move(script));
        PumpMessages();
    }

    bool OptionsEnabled() const { return MainWindowProbe::Actions(*meter_).State(ActionId::Options).enabled; }
    bool OptionsEntryEnabled() const {
        for (const TrayMenuEntry& entry : BuildTrayMenuEntries(MainWindowProbe::Actions(*meter_)))
            if (entry.command == kOptionsCommand) return entry.enabled;
        return false;
    }

    orvalet::testing::ScriptedInterfaceTable table_;
    SystemSettingsPlatform settings_{kTestRoot};
    std::unique_ptr<TOVL_Main> meter_;
    ModalScript script_;
};

TEST_F(OptionsExecuteTest, ApplyAndOKPutTopMostAndAlphaIntoForceAndCancelKeepsWhatIsInForce) {
    const HWND meter = meter_->Handle();
    ASSERT_TRUE(TopMost(meter));
    Open([&](const OptionsDialogDriver& d) {
        EXPECT_EQ(::GetWindow(d.Dialog(), GW_OWNER), meter);
        EXPECT_FALSE(OptionsEnabled());
        EXPECT_FALSE(OptionsEntryEnabled());
        EXPECT_FALSE(TopMost(meter));  // steps back while the dialog is open
        d.Click(ChkAlwaysOnTop);
        d.Slide(128);
        d.Click(ApplyBtn);
        EXPECT_FALSE(d.Enabled(ApplyBtn));
        EXPECT_EQ(Alpha(meter), 128);
        EXPECT_FALSE(CurrentOptions.AlwaysOnTop);
        d.Click(CancelBtn);
    }, /*fromMenu=*/true);
    EXPECT_TRUE(OptionsEnabled());
    EXPECT_TRUE(OptionsEntryEnabled());
    EXPECT_FALSE(TopMost(meter));

    Open([&](const OptionsDialogDriver& d) {
        d.Click(ChkAlwaysOnTop);
        d.Slide(255);
        d.Click(CancelBtn);
    });
    EXPECT_FALSE(CurrentOptions.AlwaysOnTop);
    EXPECT_EQ(Alpha(meter), 128);

    Open([&](const OptionsDialogDriver& d) {
        // The values in force, not the cancelled ones.
        EXPECT_FALSE(d.Checked(ChkAlwaysOnTop));
        EXPECT_EQ(d.Text(TV_PercentDisplay), L"50 % visible");
        d.Click(ChkAlwaysOnTop);
        d.Click(OKBtn);
    });
    EXPECT_TRUE(CurrentOptions.AlwaysOnTop);
    EXPECT_TRUE(TopMost(meter));
    EXPECT_TRUE(OptionsEnabled());
}

}  // namespace
}  // namespace orvalet::win32
