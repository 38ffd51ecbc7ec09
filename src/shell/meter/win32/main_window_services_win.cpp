#include "shell/meter/win32/main_window_services_win.h"

#include "settings/options.h"
#include "shell/meter/win32/abort_message_box_win.h"

namespace orvalet::win32 {

std::unique_ptr<NotificationIcon> CreateTrayIcon(HWND owner, UINT callbackMessage, HICON icon) {
    return std::make_unique<TrayIcon>(owner, callbackMessage, icon);
}

void ShowStartupErrorBox(HWND owner, const std::wstring& text) {
    ShowAbortMessageBox(owner, text, std::wstring(kApplicationTitle));
}

void EndMessageLoop() { ::PostQuitMessage(0); }

}  // namespace orvalet::win32
