#include "settings/win32/options_dialog_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/win32/dpi_win.h"
#include "rendering/win32/dib_pixel_storage_win.h"
#include "rendering/win32/surface_win.h"
#include "settings/options.h"
#include "support/bmp_file.h"

namespace orvalet::win32 {
namespace {

using enum OptionsControl;

// The dialog's owner. A script posted to it runs inside the dialog's modal
// loop before the dialog is first shown, so the dialog stays hidden unless
// the script shows it.
class ScriptOwner final : public BaseWindow<ScriptOwner> {
public:
    static const wchar_t* ClassName() { return L"OrvaletTestDialogOwner"; }
    ScriptOwner() { CreateWindowHandle(0, L"owner", WS_POPUP, 100, 100, 200, 100); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP) return DefaultHandling(message, wParam, lParam);
        const HWND dialog = ::FindWindowW(L"#32770", L"Orvalet Options");
        if (dialog) script(dialog);
        // A failed assertion leaves the dialog open; close it so the test ends.
        if (dialog && ::testing::Test::HasFatalFailure()) ::SendMessageW(dialog, WM_CLOSE, 0, 0);
        return 0;
    }

    std::function<void(HWND dialog)> script;
};

HWND FindControl(HWND dialog, OptionsControl id) {
    struct Search {
        int id;
        HWND found;
    } search{static_cast<int>(id), nullptr};
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (::GetDlgCtrlID(child) == s.id) s.found = child;
            return s.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        CurrentOptions = OVL_OptionsRecord{};
        PendingOptions = CurrentOptions;
        host_.applyOptions = [this] { ++applied_; };
        host_.fontNames = [this] { return fontNames_; };
        host_.chooseColor = [this](HWND owner, std::int32_t preset) {
            colorRequests_.push_back({owner, preset});
            return chosenColor_ < 0 ? preset : chosenColor_;
        };
    }

    ModalResult Run(std::function<void()> script) {
        owner_.script = [this, script](HWND dialog) {
            dialog_ = dialog;
            script();
        };
        ::PostMessageW(owner_.Handle(), WM_APP, 0, 0);
        return ShowOptionsDialog(owner_.Handle(), host_);
    }

    HWND Control(OptionsControl id) const { return FindControl(dialog_, id); }
    void Notify(OptionsControl id, UINT code) const {
        ::SendMessageW(::GetParent(Control(id)), WM_COMMAND, MAKEWPARAM(static_cast<int>(id), code),
                       reinterpret_cast<LPARAM>(Control(id)));
    }
    void Click(OptionsControl id) const { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }
    void Choose(OptionsControl id, int item) const {
        ::SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        Notify(id, CBN_SELCHANGE);
    }
    void ChooseColorEntry(int item) const {
        ::SendMessageW(Control(ColorsListBox), LB_SETCURSEL, static_cast<WPARAM>(item), 0);
        Notify(ColorsListBox, LBN_SELCHANGE);
    }
    void Slide(int position) const {
        ::SendMessageW(Control(TV_TrackBar), TBM_SETPOS, TRUE, position);
        ::SendMessageW(::GetParent(Control(TV_TrackBar)), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                       reinterpret_cast<LPARAM>(Control(TV_TrackBar)));
    }
    void ClickPreview() const {
        ::SendMessageW(Control(ColorsPaintBox), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(Control(ColorsPaintBox), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    bool Enabled(OptionsControl id) const { return ::IsWindowEnabled(Control(id)); }
    bool Checked(OptionsControl id) const { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    int Selection(OptionsControl id) const {
        return static_cast<int>(::SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
    }
    std::wstring Text(OptionsControl id) const {
        wchar_t text[64]{};
        ::GetWindowTextW(Control(id), text, 64);
        return text;
    }
    // The preview's colour, as it paints itself.
    COLORREF PreviewColor() const {
        const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
        const UniqueBitmap pixels(::CreateBitmap(8, 8, 1, 32, nullptr));
        const SelectionGuard selected = Select(dc.get(), pixels.get());
        ::SendMessageW(Control(ColorsPaintBox), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        return ::GetPixel(dc.get(), 1, 1);
    }

    ScriptOwner owner_;
    OptionsDialogHost host_;
    HWND dialog_ = nullptr;
    int applied_ = 0;
    std::vector<std::wstring> fontNames_{L"@Vertical Face", L"Arial", L"Default", L"Tahoma"};
    std::vector<std::pair<HWND, std::int32_t>> colorRequests_;
    std::int32_t chosenColor_ = -1;  // -1: the colour dialog is cancelled
};

TEST_F(OptionsDialogTest, OpensUnchangedShowingTheOptionsInForceAndOKWithoutChangesCancels) {
    CurrentOptions.VertGrid = 20;
    CurrentOptions.TransparencyValue = 128;
    CurrentOptions.WindowStyle = kBorderless;
    CurrentOptions.MVDisplayUnit = 2;
    CurrentOptions.Fonts[kMVLabel].Size = 13;
    CurrentOptions.Fonts[kIFLabel].Name = L"Not Installed";
    const OVL_OptionsRecord inForce = CurrentOptions;
    PendingOptions.VertGrid = 30;  // a cancelled edit from before

    const ModalResult result = Run([&] {
        RECT client{};
        ::GetClientRect(dialog_, &client);
        const UINT dpi = WindowDpi(dialog_);
        EXPECT_EQ(client.right, Scale(386, dpi));
        EXPECT_EQ(client.bottom, Scale(246, dpi));

        EXPECT_FALSE(Enabled(ApplyBtn));
        EXPECT_EQ(PendingOptions, inForce);
        EXPECT_EQ(Selection(VertGridCombo), -1);
        EXPECT_EQ(Selection(MVFontSize_Combo), -1);
        EXPECT_EQ(Selection(UDFontSize_Combo), 2);
        EXPECT_EQ(Selection(IFNameFontName_Combo), -1);
        EXPECT_EQ(Selection(UDFontName_Combo), 2);  // the "@" face is left out
        EXPECT_EQ(::SendMessageW(Control(UDFontName_Combo), CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(Selection(WindowStyle_Combo), 2);
        EXPECT_EQ(Selection(MVDUnitCombo), 2);
        EXPECT_EQ(Text(TV_PercentDisplay), L"50 % visible");
        EXPECT_EQ(::SendMessageW(Control(TV_TrackBar), TBM_GETPOS, 0, 0), 128);
        EXPECT_EQ(::SendMessageW(Control(ColorsListBox), LB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(PreviewColor(), static_cast<COLORREF>(inForce.Colors.GR_Download));
        EXPECT_TRUE(Checked(RadioFadein));
        EXPECT_FALSE(Checked(RadioFadeout));
        Click(OKBtn);
    });
    EXPECT_EQ(result, ModalResult::Cancel);
    EXPECT_EQ(applied_, 0);
    EXPECT_EQ(PendingOptions.VertGrid, 20);  // stays until the user picks an entry
}

TEST_F(OptionsDialogTest, DependentsFollowTheirCheckBoxesAndCancelLeavesTheOptionsInForce) {
    const OVL_OptionsRecord inForce = CurrentOptions;
    const OptionsControl dependents[] = {TV_PercentDisplay, TV_TrackBar, ChkClickThroughEnabled, ChkFadingEnabled,
                                         ChkMouseFadingEnabled, RadioFadein, RadioFadeout};
    const ModalResult result = Run([&] {
        Click(ChkTransparency);
        for (const OptionsControl id : dependents) EXPECT_FALSE(Enabled(id)) << static_cast<int>(id);
        EXPECT_TRUE(Checked(ChkFadingEnabled) && Checked(ChkMouseFadingEnabled) && Checked(RadioFadein));
        EXPECT_FALSE(PendingOptions.TransparencyEnabled);
        EXPECT_TRUE(PendingOptions.FadingEnabled && PendingOptions.MouseFadingEnabled);
        EXPECT_TRUE(Enabled(ApplyBtn));

        Click(ChkTransparency);
        Click(ChkMouseFadingEnabled);
        EXPECT_TRUE(Enabled(ChkMouseFadingEnabled));
        EXPECT_FALSE(Enabled(RadioFadein) || Enabled(RadioFadeout));

        Click(RadioFadeout);
        EXPECT_FALSE(PendingOptions.MouseFadingIn);
        Choose(VertGridCombo, 0);
        EXPECT_EQ(PendingOptions.VertGrid, 0);
        Choose(UDDUnitCombo, 1);
        EXPECT_EQ(PendingOptions.UDDisplayUnit, 1);
        Choose(WindowStyle_Combo, 0);
        EXPECT_EQ(PendingOptions.WindowStyle, kWithCaption);
        Choose(MVFontName_Combo, 0);
        EXPECT_EQ(PendingOptions.Fonts[kMVLabel].Name, L"Arial");
        Choose(IFNameFontSize_Combo, 15);
        EXPECT_EQ(PendingOptions.Fonts[kIFLabel].Size, 72);
        Slide(2);
        EXPECT_EQ(PendingOptions.TransparencyValue, 2);
        EXPECT_EQ(Text(TV_PercentDisplay), L"1 % visible");
        Click(CancelBtn);
    });
    EXPECT_EQ(result, ModalResult::Cancel);
    EXPECT_EQ(CurrentOptions, inForce);
    EXPECT_EQ(applied_, 0);
}

TEST_F(OptionsDialogTest, ApplyPutsChangesInForceAndOKAppliesOnlyWhatIsLeft) {
    ModalResult result = Run([&] {
        Click(ChkAlwaysOnTop);
        Click(ApplyBtn);
        EXPECT_EQ(applied_, 1);
        EXPECT_FALSE(CurrentOptions.AlwaysOnTop);
        EXPECT_EQ(CurrentOptions, PendingOptions);
        EXPECT_FALSE(Enabled(ApplyBtn));
        Click(OKBtn);
    });
    EXPECT_EQ(result, ModalResult::Cancel);

    result = Run([&] {
        Click(ChkCloseToTray);
        Click(ChkCloseToTray);  // back to its old state: still a change
        EXPECT_TRUE(Enabled(ApplyBtn));
        // Neither Enter nor Escape closes the dialog: its owner stays disabled.
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            MSG press{Control(ChkCloseToTray), WM_KEYDOWN, key, 0, 0, {}};
            ::IsDialogMessageW(dialog_, &press);
            EXPECT_FALSE(::IsWindowEnabled(owner_.Handle()));
        }
        Click(OKBtn);
    });
    EXPECT_EQ(result, ModalResult::OK);
    EXPECT_EQ(applied_, 1);  // the opener applies after OK
    EXPECT_FALSE(CurrentOptions.AlwaysOnTop);
}

TEST_F(OptionsDialogTest, RestoreDefaultsOnBothPagesWithTahomaMissing) {
    fontNames_ = {L"Arial", L"Default"};
    for (int k = 1; k <= kLabelCount; ++k) CurrentOptions.Fonts[k] = {L"Arial", 12, true, true};
    CurrentOptions.FontAutosize = false;
    for (int i = 0; i < kColorCount; ++i) SetListColor(CurrentOptions.Colors, i, 0x111111);

    Run([&] {
        ChooseColorEntry(5);
        EXPECT_EQ(PreviewColor(), 0x111111u);
        EXPECT_FALSE(Enabled(ApplyBtn));  // choosing an entry changes nothing

        EXPECT_EQ(Selection(UDFontName_Combo), 0);
        Click(FontsReset_Btn);
        EXPECT_EQ(PendingOptions.Fonts, GR_DefaultFonts);
        for (const OptionsControl id : {UDFontName_Combo, MVFontName_Combo, IFNameFontName_Combo})
            EXPECT_EQ(Selection(id), -1);  // "Tahoma" is not in the list
        for (const OptionsControl id : {UDFontSize_Combo, MVFontSize_Combo, IFNameFontSize_Combo})
            EXPECT_EQ(Selection(id), 2);
        for (const OptionsControl id : {UDFontBold_Chk, UDFontItalic_Chk, MVFontBold_Chk, MVFontItalic_Chk,
                                        IFFontBold_Chk, IFFontItalic_Chk})
            EXPECT_FALSE(Checked(id));
        EXPECT_FALSE(Checked(ChkFontAutosize));
        EXPECT_FALSE(PendingOptions.FontAutosize);

        Click(ColorsReset_Btn);
        EXPECT_EQ(PendingOptions.Colors, GR_DefaultColors);
        EXPECT_EQ(PreviewColor(), 0x808080u);
        EXPECT_TRUE(Enabled(ApplyBtn));
        Click(CancelBtn);
    });
}

TEST_F(OptionsDialogTest, PreviewOpensTheColourDialogAtTheEntrysColour) {
    Run([&] {
        ChooseColorEntry(1);
        ClickPreview();  // cancelled
        ASSERT_EQ(colorRequests_.size(), 1u);
        EXPECT_EQ(colorRequests_[0], std::make_pair(dialog_, CurrentOptions.Colors.GR_Upload));
        EXPECT_EQ(PendingOptions.Colors, CurrentOptions.Colors);
        EXPECT_TRUE(Enabled(ApplyBtn));

        chosenColor_ = 0x123456;
        ClickPreview();
        EXPECT_EQ(PendingOptions.Colors.GR_Upload, 0x123456);
        EXPECT_EQ(PreviewColor(), 0x123456u);
        Click(CancelBtn);
    });
}

// Shows the dialog with the installed fonts, turns the pages with Ctrl+Tab
// and photographs each.
TEST_F(OptionsDialogTest, PagesTurnWithCtrlTabAndArePhotographed) {
    host_.fontNames = nullptr;
    Run([&] {
        ::ShowWindow(dialog_, SW_SHOWNORMAL);
        BYTE keys[256]{};
        ::GetKeyboardState(keys);
        const BYTE released = keys[VK_CONTROL];
        const HWND tabs = Control(PageControl1);
        const char* names[] = {"general", "window", "graph", "fonts", "colors"};
        for (int page = 0; page < kOptionsPageCount; ++page) {
            EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), page);
            ::RedrawWindow(dialog_, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
            // The client area: without a window manager there is no caption to show.
            RECT client{};
            ::GetClientRect(dialog_, &client);
            Bitmap picture(CreateDibPixelStorage());
            picture.SetSize(client.right, client.bottom);
            const WindowDC dc(dialog_);
            ::BitBlt(DibPixelStorage::DCOf(picture), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
            EXPECT_TRUE(testing::SaveBmp(picture, std::string(ORVALET_TEST_OUTPUT_DIR "/options_") + names[page] +
                                                      ".bmp"));

            keys[VK_CONTROL] = 0x80;
            ::SetKeyboardState(keys);
            MSG press{tabs, WM_KEYDOWN, VK_TAB, 0, 0, {}};
            EXPECT_TRUE(::CallMsgFilterW(&press, MSGF_DIALOGBOX));
            keys[VK_CONTROL] = released;
            ::SetKeyboardState(keys);
        }
        EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);  // round to the first page again
        ::SendMessageW(dialog_, WM_CLOSE, 0, 0);
    });
}

}  // namespace
}  // namespace orvalet::win32
