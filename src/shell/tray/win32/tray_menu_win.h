#pragma once
// The tray icon's popup menu as a Win32 menu: entries with the action
// images, the interface sub-menu as one radio group, and the opening that a
// menu of the notification area needs.
#include <windows.h>

#include <vector>

#include "base/win32/unique_handle.h"
#include "shell/resources/win32/resource_images_win.h"
#include "shell/tray/tray_menu.h"

namespace orvalet::win32 {

// A popup menu built from its entries; it owns the images it shows, which
// outlive it. Invisible entries are left out.
class TrayPopupMenu {
public:
    TrayPopupMenu(const std::vector<TrayMenuEntry>& entries, const std::vector<InterfaceMenuItem>& interfaces,
                  ActionImageList images);

    HMENU Handle() const noexcept { return menu_.get(); }
    // The "Network Interface" sub-menu; owned by the menu.
    HMENU InterfaceMenu() const noexcept { return interfaces_; }

private:
    ActionImageList images_;  // declared first: freed after the menu showing them
    UniqueMenu menu_;
    HMENU interfaces_ = nullptr;
};

// Opens the menu at a screen point and returns the command chosen, or
// kNoMenuCommand when the menu was dismissed. The owner is brought to the
// foreground first, or a menu opened from the notification area would not
// close when the user clicks elsewhere, and would take no keys.
unsigned TrackTrayMenu(HWND owner, HMENU menu, POINT screenPoint);

// A hidden window to own the menu: brought to the foreground, it leaves
// every shown window where it is among the others.
UniqueWindow CreateMenuOwnerWindow();

}  // namespace orvalet::win32
