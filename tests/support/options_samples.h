#pragma once
// Sample data shared by the native and the Windows tests of the options
// persistence.
#include <string>
#include <vector>

#include "settings/options.h"

namespace orvalet::testing {

// Every stored value in its stored order, written out independently of the
// code under test.
inline const std::vector<std::wstring>& StoredValueNames() {
    static const std::vector<std::wstring> names{
        L"WindowLeft", L"WindowTop", L"WindowWidth", L"WindowHeight", L"MonitoredInterface",
        L"StartMinimized", L"DisplayAverageValues", L"ListEnabledHardwareInterfacesOnly",
        L"NotifyMonitoringProblems", L"AlwaysOnTop", L"CloseToTray", L"WindowStyle",
        L"TransparencyEnabled", L"TransparencyValue", L"ClickThrough", L"FadingEnabled",
        L"MouseFadingEnabled", L"MouseFadingIn", L"Autoscale", L"ShowUDValues", L"UDDisplayUnit",
        L"ShowMaxValue", L"MVDisplayUnit", L"ShowIFName", L"Gradient", L"ShowHorGrid", L"VertGrid",
        L"UDLabelFontName", L"UDLabelFontSize", L"UDLabelFontBold", L"UDLabelFontItalic",
        L"MVLabelFontName", L"MVLabelFontSize", L"MVLabelFontBold", L"MVLabelFontItalic",
        L"IFLabelFontName", L"IFLabelFontSize", L"IFLabelFontBold", L"IFLabelFontItalic",
        L"FontAutosize",
        L"Color_GR_Download", L"Color_GR_Upload", L"Color_GR_UpDn", L"Color_GR_BkGr1", L"Color_GR_BkGr2",
        L"Color_GR_Grid", L"Color_PN_DL", L"Color_PN_DL_Outline", L"Color_PN_UL", L"Color_PN_UL_Outline",
        L"Color_PN_BkGr", L"Color_MV_Font", L"Color_MV_Outline", L"Color_MV_BkGr", L"Color_IF_Font",
        L"Color_IF_Outline"};
    return names;
}

inline bool IsStringValue(const std::wstring& name) {
    return name == L"MonitoredInterface" || name.ends_with(L"LabelFontName");
}

// A record in which every stored field differs from its default.
inline OVL_OptionsRecord EveryFieldChanged() {
    OVL_OptionsRecord o{.WindowLeft = -1200, .WindowTop = 33, .WindowWidth = 500, .WindowHeight = 77,
                        .MonitoredInterface = *ParseGuid(L"{01234567-89AB-CDEF-0123-456789ABCDEF}"),
                        .StartMinimized = true, .DisplayAverageValues = true,
                        .ListEnabledHardwareInterfacesOnly = false, .NotifyMonitoringProblems = false,
                        .AlwaysOnTop = false, .CloseToTray = false, .WindowStyle = kBorderless,
                        .TransparencyEnabled = false, .TransparencyValue = 12, .ClickThrough = true,
                        .FadingEnabled = false, .MouseFadingEnabled = false, .MouseFadingIn = false,
                        .Autoscale = false, .ShowUDValues = false, .UDDisplayUnit = 1, .ShowMaxValue = false,
                        .MVDisplayUnit = 2, .ShowIFName = false, .Gradient = false, .ShowHorGrid = false,
                        .VertGrid = 10, .FontAutosize = false};
    o.Fonts[1] = {L"Courier New", 8, true, false};
    o.Fonts[2] = {L"Arial", 12, false, true};
    o.Fonts[3] = {L"Segoe UI \u00C9", 72, true, true};
    std::int32_t color = 0x00010203;
    for (std::int32_t* field : ColorFields(o.Colors)) *field = color++;
    o.Colors.IF_Outline = static_cast<std::int32_t>(0xFF000000u);  // all 32 bits survive
    return o;
}

}  // namespace orvalet::testing
