#pragma once
// "Orvalet Options": the modal dialog in which the user edits every setting
// but the window's place and the monitored interface, on five pages
// (General, Window, Graph, Fonts, Colors). It opens on a copy of the options
// in force, and every control writes its value into that copy at once; Apply
// and OK put them into force through the program that opened the dialog.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/accessible_names_win.h"
#include "base/win32/base_window.h"
#include "base/win32/dialog_look_win.h"
#include "base/win32/unique_handle.h"
#include "settings/options.h"
#include "settings/options_dialog_rules.h"

namespace orvalet::win32 {

// The records the dialog works on: the options in force, and the record it
// edits, which it sets to a copy of them as it opens.
struct OptionsRecords {
    const OVL_OptionsRecord& inForce;
    OVL_OptionsRecord& pending;
};

// What the dialog needs from the program that opens it.
struct OptionsDialogHost {
    // Puts the edited record into force: the main window's ApplyOptions action.
    std::function<void()> applyOptions;
    // Runs a colour selection modally, starting from the preset colour, and
    // returns the colour it holds when it closes: the preset after Cancel.
    // Empty: the system's colour dialog (ChooseColorDialog).
    std::function<std::int32_t(HWND owner, std::int32_t preset)> chooseColor;
    // The screen font list: "Default" and every installed family, sorted.
    // Empty: InstalledFontNames().
    std::function<std::vector<std::wstring>()> fontNames;
    // Gives a control that no label names its name for screen readers.
    // Empty: the accessibility library's annotation (AccessibleNames).
    AccessibleNames::Annotate nameControl;
};

// Shows the dialog modally over the owner, centred on the owner's monitor.
// OK means the dialog closed holding changes not applied yet, which the
// opener then applies; a dialog that could not be shown counts as Cancel.
ModalResult ShowOptionsDialog(HWND owner, const OptionsRecords& records, const OptionsDialogHost& host);

// The system's colour dialog, opened expanded with any colour allowed and
// the preset chosen; the preset again when the user cancels.
std::int32_t ChooseColorDialog(HWND owner, std::int32_t preset);

// The control identifiers, unique across the dialog and its pages.
enum class OptionsControl : int {
    PageControl1 = 100, OKBtn, ApplyBtn, CancelBtn,
    // General
    ChkRunOnStartup = 200, ChkStartMinimized, ChkDisplayAverage, ChkListEnabledHardwareInterfacesOnly,
    ChkMonProbNotify,
    // Window
    ChkAlwaysOnTop = 300, ChkCloseToTray, WindowStyle_Label, WindowStyle_Combo, ChkTransparency, TV_TrackBar,
    TV_PercentDisplay, ChkClickThroughEnabled, ChkFadingEnabled, ChkMouseFadingEnabled, RadioFadein, RadioFadeout,
    // Graph
    ChkAutoscale = 400, ChkUDDShow, UDDUnitCombo, ChkUDDShowMaxVal, MVDUnitCombo, ChkUDDShowIFName,
    ChkGradientBkGr, ChkShowHorGrid, VertGridLabel, VertGridCombo,
    // Fonts
    UDFont_Label = 500, UDFontName_Combo, UDFontSize_Combo, UDFontBold_Chk, UDFontItalic_Chk,
    MVFont_Label, MVFontName_Combo, MVFontSize_Combo, MVFontBold_Chk, MVFontItalic_Chk,
    IFNameFont_Label, IFNameFontName_Combo, IFNameFontSize_Combo, IFFontBold_Chk, IFFontItalic_Chk,
    ChkFontAutosize, FontsReset_Btn,
    // Colors
    ColorsListBox = 600, ColorsReset_Btn, ColorsPanel, ColorsPaintBox,
};

// The pages, in the order of their tabs.
enum OptionsPage : int { GeneralTabSheet, WindowTabSheet, GraphTabSheet, FontTabSheet, ColorsTabSheet };
inline constexpr int kOptionsPageCount = 5;

class OptionsPageWindow;
class ColorsPanelWindow;
class ColorPaintBoxWindow;

class TOVL_Options final : public BaseWindow<TOVL_Options> {
public:
    TOVL_Options(const OptionsRecords& records, const OptionsDialogHost& host);
    ~TOVL_Options() override;

    ModalResult ShowModal(HWND owner);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Notifications of the controls on a page, which the page passes on.
    LRESULT HandlePageMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void FormCreate(HWND owner);
    void FormDestroy();
    void CreateControls();
    HWND CreateControl(OptionsControl id);
    void CreateTooltips();
    void Layout(UINT dpi);
    void LayOutForm();
    void PlaceControl(OptionsControl id);
    HWND Item(OptionsControl id) const;
    int Selection(OptionsControl id) const;
    void Select(OptionsControl id, int item) const;
    bool Checked(OptionsControl id) const;
    void SetChecked(OptionsControl id, bool checked) const;
    void Fill(OptionsControl id, const std::vector<std::wstring>& items) const;

    void SetOptionsChanged(bool value);
    void ShowOptions();
    void ShowWindowPageEnabling();
    void ShowPercentDisplay(std::int32_t transparencyValue);
    void ShowFontSettings();
    void ShowSelectedColor();
    void ShowPage(int page);
    bool SwitchPageByKey(const MSG& message);

    void OnCommand(OptionsControl id, UINT code);
    void CheckBoxClick(OptionsControl id);
    void ComboSelect(OptionsControl id);
    void TV_TrackBarChange();
    void ApplyBtnClick();
    void OKBtnClick();
    void FontsReset_BtnClick();
    void ColorsReset_BtnClick();
    void ColorsListBoxClick();
    void ColorsPaintBoxClick();

    static LRESULT CALLBACK PageKeysHook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK ColorsListBoxKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR subclass, DWORD_PTR dialog) noexcept;

    OptionsRecords FRecords;
    const OptionsDialogHost& FHost;
    OptionsChangeState FChangeState;
    std::vector<std::wstring> FFontNames;
    std::array<std::unique_ptr<OptionsPageWindow>, kOptionsPageCount> FPages;
    std::unique_ptr<ColorsPanelWindow> FColorsPanel;
    std::unique_ptr<ColorPaintBoxWindow> FColorsPaintBox;
    std::vector<HWND> FControls;  // in the order of the control table
    UINT FDpi = 96;
    UniqueFont FFont;
    ProgramIcons FIcons;
    UniqueWindow FTooltips;
    UniqueHook FPageKeysHook;
    AccessibleNames FAccessibleNames;
};

}  // namespace orvalet::win32
