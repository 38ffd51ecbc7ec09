#include "shell/win32/popup_menu_win.h"

namespace orvalet::win32 {

UniqueMenu BuildPopupMenu(const std::vector<MenuEntry>& entries) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return menu;
    for (const MenuEntry& entry : entries) {
        if (entry.IsSeparator()) {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED);
        ::AppendMenuW(menu.get(), flags, static_cast<UINT_PTR>(entry.command), entry.caption.c_str());
    }
    return menu;
}

MenuCommand TrackPopupMenuAt(HWND owner, POINT screenPoint, const std::vector<MenuEntry>& entries) {
    const UniqueMenu menu = BuildPopupMenu(entries);
    if (!menu) return MenuCommand::None;
    ::SetForegroundWindow(owner);
    const BOOL chosen = ::TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                           screenPoint.x, screenPoint.y, owner, nullptr);
    // Lets the menu close properly when it was opened from the notification area.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return static_cast<MenuCommand>(chosen);
}

}  // namespace orvalet::win32
