#pragma once
// The decimal and thousands separators of the user's regional settings.
#include "rendering/traffic_format.h"

namespace orvalet::win32 {

// The user's separators; any the system does not report keep the English ones.
NumberFormat ReadUserNumberFormat();

// Makes FormatTrafficValue use the user's separators from now on. Call at
// start and again when the regional settings change (WM_SETTINGCHANGE with
// "intl").
void InstallUserNumberFormat();

}  // namespace orvalet::win32
