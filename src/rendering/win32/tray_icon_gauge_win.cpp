#include "rendering/win32/tray_icon_gauge_win.h"

namespace orvalet::win32 {

TTrayIconGauge::TTrayIconGauge() = default;

// The builder's bitmaps have the icon's size, so it is made anew with it.
bool TTrayIconGauge::SetIconSize(int size) {
    if (!orvalet::TTrayIconGauge::SetIconSize(size)) return false;
    FImageList = OpaqueIconBuilder(IconSize());
    return true;
}

HICON TTrayIconGauge::Icon() {
    Render();
    FIconChanged = PictureChanged() || !FIcon;
    // The new icon exists before the old one is freed, so a caller never holds
    // a handle that dies while it is still shown.
    if (FIconChanged) {
        FIcon = FImageList.Build(IconBitmap());
        ++FIconsBuilt;
    }
    return FIcon.get();
}

}  // namespace orvalet::win32
