// The options dialog opened from the running meter.
#include <gtest/gtest.h>

#include <memory>

#include "settings/options.h"
#include "shell/meter/win32/main_window_win.h"
#include "shell/tray/tray_menu.h"
#include "support/main_window_probe.h"
#include "support/meter_sandbox_win.h"
#include "support/options_dialog_driver.h"

namespace orvalet::win32 {
namespace {

using enum OptionsControl;
using testing::ModalScript;
using testing::OptionsDialogDriver;

bool TopMost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

BYTE Alpha(HWND window) {
    BYTE alpha = 0;
    ::GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr);
    return alpha;
}

class OptionsExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Hidden: showing costs seconds under Wine.
        ASSERT_EQ(sandbox_.Store(L"StartMinimized", 1), ERROR_SUCCESS);
        sandbox_.table.SetRows({orvalet::testing::HardwareRow(orvalet::testing::TestGuid(1), L"Test Adapter")});
        MainWindowServices services = sandbox_.Services();
        services.trackPopupMenu = [](HWND, HMENU, POINT) { return kOptionsCommand; };
        meter_.reset();  // one meter at a time, as in the program
        meter_ = std::make_unique<TOVL_Main>(std::move(services));
        ASSERT_TRUE(meter_->Create());
    }

    // Opens the dialog with the Options action, or from the menu.
    void Open(std::function<void(const OptionsDialogDriver&)> script, bool fromMenu = false) {
        if (fromMenu)
            meter_->PostDeferred(DeferredCommand::PopupMenu);
        else
            meter_->OptionsExecute();
        script_.Post(std::move(script));
        PumpMessages();
    }

    bool OptionsEntryEnabled() const {
        for (const TrayMenuEntry& entry : BuildTrayMenuEntries(MainWindowProbe::Actions(*meter_)))
            if (entry.command == kOptionsCommand) return entry.enabled;
        return false;
    }

    orvalet::testing::MeterSandbox sandbox_{L"Software\\OrvaletTests\\OptionsExecute"};
    std::unique_ptr<TOVL_Main> meter_;  // goes before its sandbox
    ModalScript script_;
};

TEST_F(OptionsExecuteTest, ApplyAndOKPutTopMostAndAlphaIntoForceAndCancelKeepsWhatIsInForce) {
    const HWND meter = meter_->Handle();
    ASSERT_TRUE(TopMost(meter));
    Open([&](const OptionsDialogDriver& d) {
        EXPECT_EQ(::GetWindow(d.Dialog(), GW_OWNER), meter);
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
}

}  // namespace
}  // namespace orvalet::win32
