#include "rendering/win32/tray_icon_gauge_win.h"

namespace orvalet::win32 {

TrayGaugeIcon::TrayGaugeIcon() = default;

// The builder's bitmaps have the icon's size, so it is made anew with it.
bool TrayGaugeIcon::SetIconSize(int size) {
    if (!TTrayIconGauge::SetIconSize(size)) return false;
    iconBuilder_ = OpaqueIconBuilder(IconSize());
    return true;
}

HICON TrayGaugeIcon::Icon() {
    Render();
    iconChanged_ = PictureChanged() || !icon_;
    // The new icon exists before the old one is freed, so a caller never holds
    // a handle that dies while it is still shown.
    if (iconChanged_) {
        icon_ = iconBuilder_.Build(IconBitmap());
        ++iconsBuilt_;
    }
    return icon_.get();
}

}  // namespace orvalet::win32
