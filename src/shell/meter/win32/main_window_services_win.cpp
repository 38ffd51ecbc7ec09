#include "shell/meter/win32/main_window_services_win.h"

#include <utility>

#include "settings/options.h"
#include "shell/meter/win32/abort_message_box_win.h"
#include "shell/tray/win32/tray_menu_win.h"

namespace orvalet::win32 {

MainWindowServices WithSystemServices(MainWindowServices services) {
    if (!services.createTrayIcon) {
        services.createTrayIcon = [](HWND owner, UINT callbackMessage, HICON icon) {
            return std::make_unique<TrayIcon>(owner, callbackMessage, icon);
        };
    }
    if (!services.showStartupError) {
        services.showStartupError = [](HWND owner, const std::wstring& text) {
            ShowAbortMessageBox(owner, text, std::wstring(kApplicationTitle));
        };
    }
    if (!services.terminate) services.terminate = [] { ::PostQuitMessage(0); };
    if (!services.trackPopupMenu) services.trackPopupMenu = &TrackTrayMenu;
    return services;
}

}  // namespace orvalet::win32
