#include "shell/tray/win32/tray_menu_win.h"

#include <utility>

namespace orvalet::win32 {
namespace {

void AppendSeparator(HMENU menu) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    item.fType = MFT_SEPARATOR;
    ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &item);
}

// An entry with a caption; MIIM_STRING copies the text into the menu.
bool AppendItem(HMENU menu, MENUITEMINFOW item, const std::wstring& caption) {
    item.cbSize = sizeof item;
    item.fMask |= MIIM_FTYPE | MIIM_STRING | MIIM_STATE;
    item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    return ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &item) != FALSE;
}

UniqueMenu BuildInterfaceMenu(const std::vector<InterfaceMenuItem>& interfaces) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return menu;
    for (const InterfaceMenuItem& entry : interfaces) {
        if (entry.separator) {
            AppendSeparator(menu.get());
            continue;
        }
        MENUITEMINFOW item{};
        item.fMask = MIIM_ID;
        item.fType = MFT_STRING | MFT_RADIOCHECK;  // every item is in the one radio group
        item.fState = entry.checked ? MFS_CHECKED : MFS_UNCHECKED;
        item.wID = entry.Command();
        AppendItem(menu.get(), item, entry.caption);
    }
    return menu;
}

}  // namespace

TrayPopupMenu::TrayPopupMenu(const std::vector<TrayMenuEntry>& entries,
                             const std::vector<InterfaceMenuItem>& interfaces, ActionImageList images)
    : images_(std::move(images)), menu_(::CreatePopupMenu()) {
    if (!menu_) return;
    for (const TrayMenuEntry& entry : entries) {
        if (!entry.visible) continue;
        if (entry.kind == TrayMenuEntryKind::Separator) {
            AppendSeparator(menu_.get());
            continue;
        }
        MENUITEMINFOW item{};
        item.fMask = MIIM_BITMAP;
        item.fType = MFT_STRING;
        item.fState = entry.enabled ? MFS_ENABLED : MFS_GRAYED;
        item.hbmpItem = images_.Image(entry.image);
        if (entry.kind == TrayMenuEntryKind::SubMenu) {
            UniqueMenu subMenu = BuildInterfaceMenu(interfaces);
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = subMenu.get();
            // Once inserted, the sub-menu is freed with the menu.
            if (AppendItem(menu_.get(), item, entry.caption)) interfaces_ = subMenu.release();
            continue;
        }
        item.fMask |= MIIM_ID;
        item.wID = entry.command;
        AppendItem(menu_.get(), item, entry.caption);
    }
}

UniqueWindow CreateMenuOwnerWindow() {
    // Unowned, so that taking the foreground raises no window with it.
    return UniqueWindow(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr));
}

unsigned TrackTrayMenu(HWND owner, HMENU menu, POINT screenPoint) {
    if (!menu) return kNoMenuCommand;
    ::SetForegroundWindow(owner);
    const UINT alignment = ::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const BOOL chosen = ::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | alignment,
                                           screenPoint.x, screenPoint.y, owner, nullptr);
    // Lets the menu close properly when it was opened from the notification area.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return static_cast<unsigned>(chosen);
}

}  // namespace orvalet::win32
