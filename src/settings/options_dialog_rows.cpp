#include "settings/options_dialog_rows.h"

#include <algorithm>

#include "settings/options_dialog.h"

namespace orvalet {
namespace {

using enum OptionsControl;
using enum ControlKind;
using Binding = FieldBinding<OVL_OptionsRecord>;
using Record = OVL_OptionsRecord;

constexpr OptionsRow Row(OptionsControl id, int page, ControlKind kind, const wchar_t* caption, DesignBounds bounds,
                         Binding binding = {}) {
    return {static_cast<int>(id), page, kind, caption, bounds, binding};
}

constexpr Binding kWindowStyle{
    .item = [](const Record& o, ListItems) { return WindowStyleItem(o.WindowStyle); },
    .choose = [](Record& o, int item, ListItems) { o.WindowStyle = WindowStyleFromItem(item, o.WindowStyle); }};

// The track bar keeps its position within its range.
constexpr Binding kTransparency{
    .item = [](const Record& o, ListItems) {
        return std::clamp(o.TransparencyValue, kTransparencyMin, kTransparencyMax);
    },
    .choose = [](Record& o, int position, ListItems) { o.TransparencyValue = position; }};

template <std::int32_t Record::*unit>
constexpr Binding UnitList() {
    return {.item = [](const Record& o, ListItems) { return DisplayUnitItem(o.*unit); },
            .choose = [](Record& o, int item, ListItems) { o.*unit = DisplayUnitFromItem(item, o.*unit); }};
}

constexpr Binding kVertGrid{.item = [](const Record& o, ListItems) { return VertGridItem(o.VertGrid); },
                            .choose = [](Record& o, int item, ListItems) { o.VertGrid = VertGridFromItem(item); }};

// A font or size without an entry shows no selection, so the lists never
// show a font other than the one stored.
template <int label>
constexpr Binding FontNameList() {
    return {.item = [](const Record& o, ListItems names) { return FontNameItem(names, o.Fonts[label].Name); },
            .choose = [](Record& o, int item, ListItems names) {
                if (item >= 0 && item < static_cast<int>(names.size()))
                    o.Fonts[label].Name = names[static_cast<std::size_t>(item)];
            }};
}

template <int label>
constexpr Binding FontSizeList() {
    return {.item = [](const Record& o, ListItems) { return FontSizeItem(o.Fonts[label].Size); },
            .choose = [](Record& o, int item, ListItems) {
                o.Fonts[label].Size = FontSizeFromItem(item, o.Fonts[label].Size);
            }};
}

template <int label, bool GR_FontType::*style>
constexpr Binding FontStyle() {
    return {[](Record& o) -> bool& { return o.Fonts[label].*style; }};
}

// Within each page the order is the tab order, which the dialog manager
// takes from the z-order, i.e. the order of creation. The pages are created
// before all of these, so they lie over the tab control they sit in, which
// comes last: the tab order still runs tabs, page, OK, Apply, Cancel, as it
// wraps round.
//
// Three pairs of neighbours overlap by a few blank pixels at their given
// bounds; the first of each ends where the second begins, so that neither
// covers the other (the check boxes before the unit lists and the Italic
// boxes). The percentage label's last two rows lie over the track bar's
// first two, which are blank; the label comes first, so it is drawn on top.
//
// Windows' accessibility proxy (oleacc) names a list or a track bar after
// the static just before it in z-order, so each comes right after its label
// (Wine's proxy does so for edit boxes only). The lists with no caption
// beside them are given accessible names.
const OptionsRow kRows[] = {
    Row(ChkRunOnStartup, GeneralTabSheet, CheckBox, L"Load on windows startup", {3, 3, 145, 17},
        Flag<&Record::RunOnStartup>()),
    Row(ChkStartMinimized, GeneralTabSheet, CheckBox, L"Start minimized", {3, 26, 97, 17},
        Flag<&Record::StartMinimized>()),
    Row(ChkDisplayAverage, GeneralTabSheet, CheckBox, L"Display average values", {3, 49, 137, 17},
        Flag<&Record::DisplayAverageValues>())
        .WithHint(L"Display average values of the last 10 seconds instead of immediate readings"),
    Row(ChkListEnabledHardwareInterfacesOnly, GeneralTabSheet, CheckBox, L"List enabled hardware interfaces only",
        {3, 72, 200, 17}, Flag<&Record::ListEnabledHardwareInterfacesOnly>()),
    Row(ChkMonProbNotify, GeneralTabSheet, CheckBox, L"Notify monitoring problems", {3, 95, 153, 17},
        Flag<&Record::NotifyMonitoringProblems>()),

    Row(ChkAlwaysOnTop, WindowTabSheet, CheckBox, L"Always on top", {3, 3, 89, 17},
        Flag<&Record::AlwaysOnTop>()),
    Row(ChkCloseToTray, WindowTabSheet, CheckBox, L"Close to tray", {3, 26, 81, 17},
        Flag<&Record::CloseToTray>()),
    Row(WindowStyle_Label, WindowTabSheet, Label, L"Window style:", {3, 55, 68, 13}),
    Row(WindowStyle_Combo, WindowTabSheet, DropDownList, nullptr, {3, 74, 126, 21}, kWindowStyle)
        .WithItems(kWindowStyleItems),
    Row(ChkTransparency, WindowTabSheet, CheckBox, L"Enable window transparency", {148, 3, 163, 17},
        Flag<&Record::TransparencyEnabled>()),
    Row(TV_PercentDisplay, WindowTabSheet, Label, L"000% visible", {148, 26, 61, 13}),
    Row(TV_TrackBar, WindowTabSheet, TrackBar, nullptr, {148, 37, 200, 33}, kTransparency),
    Row(ChkClickThroughEnabled, WindowTabSheet, CheckBox, L"Enable 'click-through' feature",
        {148, 76, 171, 17}, Flag<&Record::ClickThrough>())
        .WithHint(L"Activate this to make the graph window unclickable. All mouse events will be passed to the "
                  L"underlying control."),
    Row(ChkFadingEnabled, WindowTabSheet, CheckBox, L"Enable fading effects", {148, 99, 123, 17},
        Flag<&Record::FadingEnabled>()),
    Row(ChkMouseFadingEnabled, WindowTabSheet, CheckBox, L"Enable mouse sensitive fading",
        {148, 122, 169, 17}, Flag<&Record::MouseFadingEnabled>()),
    Row(RadioFadein, WindowTabSheet, FirstRadio, L"fade in", {164, 145, 65, 17},
        Flag<&Record::MouseFadingIn>()),
    Row(RadioFadeout, WindowTabSheet, Radio, L"fade out", {230, 145, 65, 17},
        Flag<&Record::MouseFadingIn>(true)),

    Row(ChkAutoscale, GraphTabSheet, CheckBox, L"Autoscale graph", {3, 3, 105, 17},
        Flag<&Record::Autoscale>()),
    Row(ChkUDDShow, GraphTabSheet, CheckBox, L"Show current UL / DL", {3, 26, 125, 17},
        Flag<&Record::ShowUDValues>()),
    Row(UDDUnitCombo, GraphTabSheet, DropDownList, nullptr, {128, 24, 161, 21},
        UnitList<&Record::UDDisplayUnit>()),
    Row(ChkUDDShowMaxVal, GraphTabSheet, CheckBox, L"Show maximum value", {3, 49, 125, 17},
        Flag<&Record::ShowMaxValue>()),
    Row(MVDUnitCombo, GraphTabSheet, DropDownList, nullptr, {128, 49, 161, 21},
        UnitList<&Record::MVDisplayUnit>()),
    Row(ChkUDDShowIFName, GraphTabSheet, CheckBox, L"Show interface name", {3, 72, 130, 17},
        Flag<&Record::ShowIFName>()),
    Row(ChkGradientBkGr, GraphTabSheet, CheckBox, L"Gradient background", {3, 96, 129, 17},
        Flag<&Record::Gradient>()),
    Row(ChkShowHorGrid, GraphTabSheet, CheckBox, L"Show horizontal grid", {3, 119, 121, 17},
        Flag<&Record::ShowHorGrid>()),
    Row(VertGridLabel, GraphTabSheet, Label, L"Vertical grid lines:", {3, 143, 84, 13}),
    Row(VertGridCombo, GraphTabSheet, DropDownList, nullptr, {128, 140, 105, 21}, kVertGrid)
        .WithItems(kVertGridItems),

    Row(UDFont_Label, FontTabSheet, Label, L"U/D display", {3, 5, 54, 13}),
    Row(UDFontName_Combo, FontTabSheet, DropDownList, nullptr, {63, 3, 145, 21},
        FontNameList<kUDLabel>()),
    Row(UDFontSize_Combo, FontTabSheet, DropDownList, nullptr, {214, 3, 48, 21},
        FontSizeList<kUDLabel>())
        .WithAccessibleName(L"U/D display size"),
    Row(UDFontBold_Chk, FontTabSheet, CheckBox, L"Bold", {268, 3, 44, 17},
        FontStyle<kUDLabel, &GR_FontType::Bold>()),
    Row(UDFontItalic_Chk, FontTabSheet, CheckBox, L"Italic", {312, 3, 44, 17},
        FontStyle<kUDLabel, &GR_FontType::Italic>()),
    Row(MVFont_Label, FontTabSheet, Label, L"MAX display", {3, 32, 57, 13}),
    Row(MVFontName_Combo, FontTabSheet, DropDownList, nullptr, {63, 30, 145, 21},
        FontNameList<kMVLabel>()),
    Row(MVFontSize_Combo, FontTabSheet, DropDownList, nullptr, {214, 30, 48, 21},
        FontSizeList<kMVLabel>())
        .WithAccessibleName(L"MAX display size"),
    Row(MVFontBold_Chk, FontTabSheet, CheckBox, L"Bold", {268, 31, 44, 17},
        FontStyle<kMVLabel, &GR_FontType::Bold>()),
    Row(MVFontItalic_Chk, FontTabSheet, CheckBox, L"Italic", {312, 31, 44, 17},
        FontStyle<kMVLabel, &GR_FontType::Italic>()),
    Row(IFNameFont_Label, FontTabSheet, Label, L"IF display", {3, 59, 46, 13}),
    Row(IFNameFontName_Combo, FontTabSheet, DropDownList, nullptr, {63, 57, 145, 21},
        FontNameList<kIFLabel>()),
    Row(IFNameFontSize_Combo, FontTabSheet, DropDownList, nullptr, {214, 57, 48, 21},
        FontSizeList<kIFLabel>())
        .WithAccessibleName(L"IF display size"),
    Row(IFFontBold_Chk, FontTabSheet, CheckBox, L"Bold", {268, 58, 44, 17},
        FontStyle<kIFLabel, &GR_FontType::Bold>()),
    Row(IFFontItalic_Chk, FontTabSheet, CheckBox, L"Italic", {312, 58, 44, 17},
        FontStyle<kIFLabel, &GR_FontType::Italic>()),
    Row(ChkFontAutosize, FontTabSheet, CheckBox, L"Automatically adjust font size", {3, 95, 161, 17},
        Flag<&Record::FontAutosize>())
        .WithHint(L"If this option is active, Orvalet will try to size the fonts down (min. size = 8) before "
                  L"switching the display panels off"),
    Row(FontsReset_Btn, FontTabSheet, Button, L"Restore defaults", {256, 145, 102, 25}),

    Row(ColorsListBox, ColorsTabSheet, ListBox, nullptr, {3, 3, 222, 167})
        .WithItems(kColorListItems)
        .WithAccessibleName(L"Colors"),
    Row(ColorsReset_Btn, ColorsTabSheet, Button, L"Restore defaults", {256, 145, 102, 25}),
    Row(ColorsPanel, ColorsTabSheet, Custom, nullptr, {231, 3, 127, 136}),

    Row(OKBtn, kOnForm, Button, L"OK", {140, 215, 75, 25}),
    Row(ApplyBtn, kOnForm, Button, L"Apply", {221, 215, 75, 25}),
    Row(CancelBtn, kOnForm, Button, L"Cancel", {302, 215, 75, 25}),
    Row(PageControl1, kOnForm, Tabs, nullptr, {8, 8, 369, 201}),
};

}  // namespace

std::span<const OptionsRow> OptionsDialogRows() { return kRows; }

}  // namespace orvalet
