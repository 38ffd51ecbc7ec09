#include "rendering/win32/tray_icon_gauge_win.h"

namespace orvalet::win32 {

TTrayIconGauge::TTrayIconGauge() = default;

HICON TTrayIconGauge::Icon() {
    // The new icon exists before the old one is freed, so a caller never holds
    // a handle that dies while it is still shown.
    FIcon = FImageList.Build(Render());
    return FIcon.get();
}

}  // namespace orvalet::win32
