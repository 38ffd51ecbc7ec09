#pragma once
// What the meter window draws on from outside, and the real services that
// stand in for any the caller leaves empty.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "sampling/interface_table.h"
#include "settings/settings_platform.h"
#include "shell/tray/win32/tray_icon_win.h"

namespace orvalet::win32 {

// The program entry wires the real interface table and settings; tests
// substitute a scripted interface table, a registry root of their own, a
// recording tray icon.
struct MainWindowServices {
    std::unique_ptr<InterfaceTableSource> interfaceTable;
    // Registry, work area, executable path, version; must outlive the window.
    SettingsPlatform* settings = nullptr;
    // Empty: the real notification-area icon.
    std::function<std::unique_ptr<NotificationIcon>(HWND owner, UINT callbackMessage, HICON icon)>
        createTrayIcon;
    // Empty: the system's message box with the error icon and "Abort".
    std::function<void(HWND owner, const std::wstring& text)> showStartupError;
    // Ends the program's message loop; empty: PostQuitMessage(0).
    std::function<void()> terminate;
    // Opens the popup menu at a screen point and returns the command chosen
    // (kNoMenuCommand when dismissed); empty: TrackTrayMenu.
    std::function<unsigned(HWND owner, HMENU menu, POINT screenPoint)> trackPopupMenu;
};

// The services with every empty one replaced by the system's own.
MainWindowServices WithSystemServices(MainWindowServices services);

}  // namespace orvalet::win32
