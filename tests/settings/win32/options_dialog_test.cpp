#include "settings/win32/options_dialog_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/win32/dialog_layout_win.h"
#include "settings/options.h"
#include "support/message_pump_win.h"
#include "support/options_dialog_driver.h"
#include "support/screen_capture_win.h"

namespace orvalet::win32 {
namespace {

using enum OptionsControl;
using testing::ModalScript;
using testing::OptionsDialogDriver;

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_.applyOptions = [this] { ++applied_; };
        host_.fontNames = [this] { return fontNames_; };
        host_.chooseColor = [this](HWND owner, std::int32_t preset) {
            colorRequests_.push_back({owner, preset});
            return chosenColor_ < 0 ? preset : chosenColor_;
        };
    }

    ModalResult Run(std::function<void(const OptionsDialogDriver&)> script) {
        owner_.Post(std::move(script));
        return ShowOptionsDialog(owner_.Handle(), {inForce_, pending_}, host_);
    }

    OVL_OptionsRecord inForce_;
    OVL_OptionsRecord pending_;
    ModalScript owner_;  // owns the dialog and runs the script
    OptionsDialogHost host_;
    int applied_ = 0;
    std::vector<std::wstring> fontNames_{L"@Vertical Face", L"Arial", L"Default", L"Tahoma"};
    std::vector<std::pair<HWND, std::int32_t>> colorRequests_;
    std::int32_t chosenColor_ = -1;  // -1: the colour dialog is cancelled
};

TEST_F(OptionsDialogTest, OpensUnchangedShowingTheOptionsInForceAndOKWithoutChangesCancels) {
    inForce_.VertGrid = 20;
    inForce_.TransparencyValue = 128;
    inForce_.WindowStyle = kBorderless;
    inForce_.MVDisplayUnit = 2;
    inForce_.Fonts[kMVLabel].Size = 13;
    inForce_.Fonts[kIFLabel].Name = L"Not Installed";
    const OVL_OptionsRecord inForce = inForce_;
    pending_.VertGrid = 30;  // a cancelled edit from before

    const ModalResult result = Run([&](const OptionsDialogDriver& d) {
        EXPECT_FALSE(d.Enabled(ApplyBtn));
        EXPECT_EQ(pending_, inForce);
        // Values without an entry show no selection; the "@" face is left out.
        const std::pair<OptionsControl, int> selections[] = {
            {VertGridCombo, -1}, {MVFontSize_Combo, -1},  {UDFontSize_Combo, 2}, {IFNameFontName_Combo, -1},
            {UDFontName_Combo, 2}, {WindowStyle_Combo, 2}, {MVDUnitCombo, 2}};
        for (const auto& [id, item] : selections) EXPECT_EQ(d.Selection(id), item) << static_cast<int>(id);
        EXPECT_EQ(::SendMessageW(d.Control(UDFontName_Combo), CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(d.Text(TV_PercentDisplay), L"50 % visible");
        EXPECT_EQ(::SendMessageW(d.Control(TV_TrackBar), TBM_GETPOS, 0, 0), 128);
        EXPECT_EQ(d.PreviewColor(), static_cast<COLORREF>(inForce.Colors.GR_Download));
        EXPECT_TRUE(d.Checked(RadioFadein) && !d.Checked(RadioFadeout));
        d.Click(OKBtn);
    });
    EXPECT_EQ(result, ModalResult::Cancel);
    EXPECT_EQ(applied_, 0);
    EXPECT_EQ(pending_.VertGrid, 20);  // stays until the user picks an entry
}

TEST_F(OptionsDialogTest, DependentsFollowTheirCheckBoxesAndTheListsFillTheirFields) {
    const OptionsControl dependents[] = {TV_PercentDisplay, TV_TrackBar, ChkClickThroughEnabled, ChkFadingEnabled,
                                         ChkMouseFadingEnabled, RadioFadein, RadioFadeout};
    const ModalResult result = Run([&](const OptionsDialogDriver& d) {
        d.Click(ChkTransparency);
        for (const OptionsControl id : dependents) EXPECT_FALSE(d.Enabled(id)) << static_cast<int>(id);
        EXPECT_TRUE(d.Checked(ChkFadingEnabled) && d.Checked(ChkMouseFadingEnabled) && d.Checked(RadioFadein));
        EXPECT_TRUE(!pending_.TransparencyEnabled && pending_.FadingEnabled &&
                    pending_.MouseFadingEnabled);
        EXPECT_TRUE(d.Enabled(ApplyBtn));

        d.Click(ChkTransparency);
        d.Click(ChkMouseFadingEnabled);
        EXPECT_TRUE(d.Enabled(ChkMouseFadingEnabled));
        EXPECT_FALSE(d.Enabled(RadioFadein) || d.Enabled(RadioFadeout));

        d.Click(RadioFadeout);
        EXPECT_FALSE(pending_.MouseFadingIn);
        d.Choose(VertGridCombo, 0);
        d.Choose(UDDUnitCombo, 1);
        d.Choose(WindowStyle_Combo, 0);
        d.Choose(MVFontName_Combo, 0);
        d.Choose(IFNameFontSize_Combo, 15);
        EXPECT_EQ(pending_.VertGrid, 0);
        EXPECT_EQ(pending_.UDDisplayUnit, 1);
        EXPECT_EQ(pending_.WindowStyle, kWithCaption);
        EXPECT_EQ(pending_.Fonts[kMVLabel].Name, L"Arial");
        EXPECT_EQ(pending_.Fonts[kIFLabel].Size, 72);
        d.Slide(2);
        EXPECT_EQ(pending_.TransparencyValue, 2);
        EXPECT_EQ(d.Text(TV_PercentDisplay), L"1 % visible");
        d.Click(CancelBtn);
    });
    EXPECT_EQ(result, ModalResult::Cancel);
}

// Apply and Cancel in the running meter: see the meter's options tests.
TEST_F(OptionsDialogTest, AnEditUndoneStillCountsAndOKLeavesTheApplyToTheOpener) {
    const ModalResult result = Run([&](const OptionsDialogDriver& d) {
        d.Click(ChkCloseToTray);
        d.Click(ChkCloseToTray);  // back to its old state: still a change
        EXPECT_TRUE(d.Enabled(ApplyBtn));
        // Neither Enter nor Escape closes the dialog: its owner stays disabled.
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            MSG press{d.Control(ChkCloseToTray), WM_KEYDOWN, key, 0, 0, {}};
            ::IsDialogMessageW(d.Dialog(), &press);
            EXPECT_FALSE(::IsWindowEnabled(owner_.Handle()));
        }
        d.Click(OKBtn);
    });
    EXPECT_EQ(result, ModalResult::OK);
    EXPECT_EQ(applied_, 0);  // the opener applies after OK
}

TEST_F(OptionsDialogTest, TheColourDialogOpensAtTheEntrysColourAndBothPagesRestoreTheirDefaults) {
    fontNames_ = {L"Arial", L"Default"};
    for (int k = 1; k <= kLabelCount; ++k) inForce_.Fonts[k] = {L"Arial", 12, true, true};
    inForce_.FontAutosize = false;
    for (int i = 0; i < kColorCount; ++i) SetListColor(inForce_.Colors, i, 0x111111);

    Run([&](const OptionsDialogDriver& d) {
        d.ChooseColorEntry(5);
        EXPECT_EQ(d.PreviewColor(), 0x111111u);
        EXPECT_FALSE(d.Enabled(ApplyBtn));  // choosing an entry changes nothing
        d.ClickPreview();                   // cancelled
        ASSERT_EQ(colorRequests_, (std::vector<std::pair<HWND, std::int32_t>>{{d.Dialog(), 0x111111}}));
        EXPECT_EQ(pending_.Colors, inForce_.Colors);
        EXPECT_TRUE(d.Enabled(ApplyBtn));
        chosenColor_ = 0x123456;
        d.ClickPreview();
        EXPECT_EQ(GetListColor(pending_.Colors, 5), 0x123456);
        EXPECT_EQ(d.PreviewColor(), 0x123456u);

        EXPECT_EQ(d.Selection(UDFontName_Combo), 0);
        d.Click(FontsReset_Btn);
        EXPECT_EQ(pending_.Fonts, GR_DefaultFonts);
        for (const OptionsControl id : {UDFontName_Combo, MVFontName_Combo, IFNameFontName_Combo})
            EXPECT_EQ(d.Selection(id), -1);  // "Tahoma" is not in the list
        for (const OptionsControl id : {UDFontSize_Combo, MVFontSize_Combo, IFNameFontSize_Combo})
            EXPECT_EQ(d.Selection(id), 2);
        for (const OptionsControl id : {UDFontBold_Chk, UDFontItalic_Chk, MVFontBold_Chk, MVFontItalic_Chk,
                                        IFFontBold_Chk, IFFontItalic_Chk, ChkFontAutosize})
            EXPECT_FALSE(d.Checked(id));
        EXPECT_FALSE(pending_.FontAutosize);

        d.Click(ColorsReset_Btn);
        EXPECT_EQ(pending_.Colors, GR_DefaultColors);
        EXPECT_EQ(d.PreviewColor(), 0x808080u);
        EXPECT_TRUE(d.Enabled(ApplyBtn));
        d.Click(CancelBtn);
    });
}

// The colour list opens the colour dialog on a double-click (0, on the first
// entry), Enter and Space; the preview, the tab stop after "Restore
// defaults", on Space and Enter.
TEST_F(OptionsDialogTest, TheColourListAndThePreviewAfterItOpenTheColourDialogFromTheKeyboard) {
    const std::pair<std::vector<WPARAM>, OptionsControl> ways[] = {
        {{0}, ColorsListBox}, {{VK_RETURN}, ColorsListBox}, {{VK_SPACE}, ColorsListBox},
        {{VK_TAB, VK_TAB, VK_SPACE}, ColorsPaintBox}, {{VK_TAB, VK_TAB, VK_RETURN}, ColorsPaintBox}};
    Run([&](const OptionsDialogDriver& d) {
        TabCtrl_SetCurFocus(d.Control(PageControl1), ColorsTabSheet);
        for (int entry = 0; entry < 5; ++entry) {
            d.ChooseColorEntry(entry);
            ::SendMessageW(d.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(d.Control(ColorsListBox)), TRUE);
            for (const WPARAM key : ways[entry].first) key ? d.Press(key) : d.DoubleClick(ColorsListBox);
            EXPECT_EQ(::GetFocus(), d.Control(ways[entry].second)) << entry;
            ASSERT_EQ(colorRequests_.size(), entry + 1u);
            EXPECT_EQ(colorRequests_.back(), std::make_pair(d.Dialog(), GetListColor(inForce_.Colors, entry)));
        }
        d.Click(CancelBtn);
    });
}

// The accessibility proxy names a list or the track bar after the static just
// before it in z-order: its caption (a hidden one would show as ~). The lists
// with no caption beside them are given their names for screen readers.
TEST_F(OptionsDialogTest, EachListAndTheTrackBarComeRightAfterTheLabelThatNamesThem) {
    const std::pair<OptionsControl, std::wstring> names[] = {
        {WindowStyle_Combo, L"Window style:"}, {TV_TrackBar, L"80 % visible"}, {VertGridCombo, L"Vertical grid lines:"},
        {UDFontName_Combo, L"U/D display"}, {MVFontName_Combo, L"MAX display"}, {IFNameFontName_Combo, L"IF display"}};
    const std::pair<OptionsControl, std::wstring> given[] = {
        {UDFontSize_Combo, L"U/D display size"}, {MVFontSize_Combo, L"MAX display size"},
        {IFNameFontSize_Combo, L"IF display size"}, {ColorsListBox, L"Colors"}};
    std::vector<std::pair<HWND, std::wstring>> named;
    host_.nameControl = [&](HWND control, const wchar_t* name) { named.emplace_back(control, name); };
    Run([&](const OptionsDialogDriver& d) {
        for (const auto& [id, name] : names) {
            const HWND label = ::GetWindow(d.Control(id), GW_HWNDPREV);
            EXPECT_EQ(((::GetWindowLongW(label, GWL_STYLE) & WS_VISIBLE) ? L"" : L"~") + WindowText(label), name);
        }
        ASSERT_EQ(named.size(), std::size(given));
        for (std::size_t i = 0; i < named.size(); ++i)
            EXPECT_EQ(named[i], std::make_pair(d.Control(given[i].first), given[i].second));
        d.Click(CancelBtn);
    });
}

// Shows the dialog with the installed fonts, turns the pages with Ctrl+Tab
// and photographs each.
TEST_F(OptionsDialogTest, PagesTurnWithCtrlTabAndArePhotographed) {
    host_.fontNames = &InstalledFontNames;
    Run([&](const OptionsDialogDriver& d) {
        const HWND dialog = d.Dialog();
        ::ShowWindow(dialog, SW_SHOWNORMAL);
        BYTE keys[256]{};
        ::GetKeyboardState(keys);
        const BYTE released = keys[VK_CONTROL];
        const HWND tabs = d.Control(PageControl1);
        const char* names[] = {"general", "window", "graph", "fonts", "colors"};
        for (int page = 0; page < kOptionsPageCount; ++page) {
            EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), page);
            ::RedrawWindow(dialog, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
            // The client area: without a window manager there is no caption to show.
            RECT client{};
            ::GetClientRect(dialog, &client);
            ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
            const std::string path = std::string(ORVALET_TEST_OUTPUT_DIR "/options_") + names[page] + ".bmp";
            EXPECT_TRUE(orvalet::testing::SaveScreenArea(client, path));

            keys[VK_CONTROL] = 0x80;
            ::SetKeyboardState(keys);
            MSG press{tabs, WM_KEYDOWN, VK_TAB, 0, 0, {}};
            EXPECT_TRUE(::CallMsgFilterW(&press, MSGF_DIALOGBOX));
            keys[VK_CONTROL] = released;
            ::SetKeyboardState(keys);
        }
        EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);  // round to the first page again
        ::SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

// The text of the hint the dialog's tooltip shows; empty while none shows.
std::wstring ShownHint() {
    const HWND tip = ShownWindowOfClass(TOOLTIPS_CLASSW);
    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    if (!tip || !::SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) return {};
    return text;
}

// Each hint shows over its box, enabled or disabled: a disabled control gets
// no mouse messages, its page gets them instead.
TEST_F(OptionsDialogTest, EachHintShowsOverItsBoxEnabledOrDisabled) {
    const struct {
        OptionsPage page;
        OptionsControl box;
        bool transparency;  // without it the click-through box is disabled
        const wchar_t* hintStart;
    } rows[] = {
        {GeneralTabSheet, ChkDisplayAverage, true, L"Display average values of the last 10 seconds"},
        {FontTabSheet, ChkFontAutosize, true, L"If this option is active, Orvalet will try"},
        {WindowTabSheet, ChkClickThroughEnabled, true, L"Activate this to make the graph window unclickable."},
        {WindowTabSheet, ChkClickThroughEnabled, false, L"Activate this to make the graph window unclickable."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.box));
        inForce_.TransparencyEnabled = row.transparency;
        Run([&](const OptionsDialogDriver& d) {
            ::ShowWindow(d.Dialog(), SW_SHOWNORMAL);
            TabCtrl_SetCurFocus(d.Control(PageControl1), row.page);
            const HWND box = d.Control(row.box);
            EXPECT_EQ(::IsWindowEnabled(box) != FALSE, row.transparency);
            RECT rect{};
            ::GetWindowRect(box, &rect);
            POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            ::SetCursorPos(at.x, at.y);
            const HWND under = ::WindowFromPoint(at);
            ::ScreenToClient(under, &at);
            ::PostMessageW(under, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
            EXPECT_TRUE(PumpUntil([&] { return ShownHint().starts_with(row.hintStart); }, 5000))
                << "the hint shown: '" << ShownHint() << "'";
            d.Click(CancelBtn);
        });
    }
}

}  // namespace
}  // namespace orvalet::win32
