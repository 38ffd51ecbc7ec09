#pragma once
// The controls of the options dialog, one row each: their pages, places and
// captions, and the option each control edits.
#include <span>

#include "base/dialog_rows.h"
#include "settings/options.h"

namespace orvalet {

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

using OptionsRow = ControlRow<OVL_OptionsRecord>;

// Every control of the dialog; the colour preview (ColorsPaintBox) lies
// within the ColorsPanel row's control.
std::span<const OptionsRow> OptionsDialogRows();

}  // namespace orvalet
