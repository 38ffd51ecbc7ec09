#pragma once
// Reads a Win32 menu back item by item, so a test sees what the user would.
#include <windows.h>

#include <string>
#include <vector>

namespace orvalet::testing {

struct MenuItemRead {
    std::wstring caption;  // empty for a separator
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    HBITMAP image = nullptr;
    HMENU subMenu = nullptr;

    bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
    bool IsGrey() const { return (state & MFS_GRAYED) != 0; }
    bool IsChecked() const { return (state & MFS_CHECKED) != 0; }
};

inline std::vector<MenuItemRead> ReadMenu(HMENU menu) {
    std::vector<MenuItemRead> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_BITMAP | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 255;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({text, info.wID, info.fType, info.fState, info.hbmpItem, info.hSubMenu});
    }
    return items;
}

// The captions top to bottom, "-" for a separator.
inline std::vector<std::wstring> MenuCaptions(const std::vector<MenuItemRead>& items) {
    std::vector<std::wstring> captions;
    for (const MenuItemRead& item : items) captions.push_back(item.IsSeparator() ? L"-" : item.caption);
    return captions;
}

}  // namespace orvalet::testing
