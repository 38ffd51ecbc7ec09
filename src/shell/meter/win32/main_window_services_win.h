#pragma once
// What the meter window draws on from outside. Each service starts out as
// the system's own; tests replace some.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "sampling/interface_table.h"
#include "settings/settings_platform.h"
#include "shell/tray/win32/tray_icon_win.h"
#include "shell/tray/win32/tray_menu_win.h"

namespace orvalet::win32 {

// The program entry wires the real interface table and settings; tests
// substitute a scripted interface table, a registry root of their own, a
// recording tray icon.
// The system's own services, which the fields below start out as.
std::unique_ptr<NotificationIcon> CreateTrayIcon(HWND owner, UINT callbackMessage, HICON icon);
void ShowStartupErrorBox(HWND owner, const std::wstring& text);
void EndMessageLoop();

struct MainWindowServices {
    std::unique_ptr<InterfaceTableSource> interfaceTable;
    // Registry, work area, executable path, version; must outlive the window.
    SettingsPlatform* settings = nullptr;
    std::function<std::unique_ptr<NotificationIcon>(HWND owner, UINT callbackMessage, HICON icon)>
        createTrayIcon = &CreateTrayIcon;
    // A message box with the error icon and "Abort".
    std::function<void(HWND owner, const std::wstring& text)> showStartupError = &ShowStartupErrorBox;
    // Ends the program's message loop.
    std::function<void()> terminate = &EndMessageLoop;
    // Opens the popup menu at a screen point and returns the command chosen
    // (kNoMenuCommand when dismissed).
    std::function<unsigned(HWND owner, HMENU menu, POINT screenPoint)> trackPopupMenu = &TrackTrayMenu;
};

}  // namespace orvalet::win32
