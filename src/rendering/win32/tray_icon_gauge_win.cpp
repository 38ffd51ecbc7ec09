#include "rendering/win32/tray_icon_gauge_win.h"

namespace orvalet::win32 {

TTrayIconGauge::TTrayIconGauge() = default;

HICON TTrayIconGauge::Icon() {
    Render();
    FIconChanged = PictureChanged() || !FIcon;
    // The new icon exists before the old one is freed, so a caller never holds
    // a handle that dies while it is still shown.
    if (FIconChanged) {
        FIcon = FImageList.Build(RenderBitmap());
        ++FIconsBuilt;
    }
    return FIcon.get();
}

}  // namespace orvalet::win32
