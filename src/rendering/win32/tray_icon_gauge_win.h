#pragma once
// The tray icon gauge as an icon: every read of Icon() renders the gauge and
// replaces the one icon the gauge owns.
#include <windows.h>

#include "base/win32/unique_handle.h"
#include "rendering/tray_icon_gauge.h"
#include "rendering/win32/surface_win.h"

namespace orvalet::win32 {

class TTrayIconGauge : public orvalet::TTrayIconGauge {
public:
    TTrayIconGauge();

    // Renders the gauge and returns its icon. The gauge keeps ownership; the
    // handle stays valid until the next call or the gauge's destruction (the
    // notification area takes its own copy). Null only if the system refuses
    // to make an icon.
    HICON Icon();

private:
    OpaqueIconBuilder FImageList{kGaugeSize};
    BuiltIcon FIcon;
};

}  // namespace orvalet::win32
