#pragma once
// The meter's context menu as a Win32 popup menu.
#include <windows.h>

#include <vector>

#include "base/win32/unique_handle.h"
#include "shell/popup_menu_model.h"

namespace orvalet::win32 {

// A popup menu holding the entries, top to bottom.
UniqueMenu BuildPopupMenu(const std::vector<MenuEntry>& entries);

// Opens the menu at a screen point and waits for the user's choice;
// MenuCommand::None when the menu was dismissed. The owner is brought to the
// foreground first, as a menu opened from the notification area needs to be
// to close when the user clicks elsewhere.
MenuCommand TrackPopupMenuAt(HWND owner, POINT screenPoint, const std::vector<MenuEntry>& entries);

}  // namespace orvalet::win32
