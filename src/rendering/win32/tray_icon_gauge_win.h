#pragma once
// The tray icon gauge as an icon: every read of Icon() renders the gauge and
// replaces the one icon the gauge owns when the picture changed.
#include <windows.h>

#include "base/win32/unique_handle.h"
#include "rendering/tray_icon_gauge.h"
#include "rendering/win32/surface_win.h"

namespace orvalet::win32 {

class TrayGaugeIcon : public TTrayIconGauge {
public:
    TrayGaugeIcon();

    // The icon's side in pixels (see the portable gauge); a new size makes
    // the next Icon() a new icon of that size.
    bool SetIconSize(int size);

    // Renders the gauge and returns its icon. The gauge keeps ownership; the
    // handle stays valid until the next call or the gauge's destruction (the
    // notification area takes its own copy). Null only if the system refuses
    // to make an icon.
    HICON Icon();
    // Whether the last Icon() made a new icon. When the gauge's pixels are
    // those of the last read, it hands out the same icon again, and the
    // notification area need not be told.
    bool IconChanged() const { return iconChanged_; }
    // Icons made so far.
    unsigned long IconsBuilt() const { return iconsBuilt_; }

private:
    OpaqueIconBuilder iconBuilder_{kGaugeSize};
    BuiltIcon icon_;
    bool iconChanged_ = false;
    unsigned long iconsBuilt_ = 0;
};

}  // namespace orvalet::win32
