#pragma once
// What a meter window under test runs on: the program's settings in a
// registry key of the test's own (deleted before and after), the option
// records at their defaults, a scripted interface table, and a tray icon
// that shows nothing.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "settings/win32/settings_platform_win.h"
#include "shell/meter/win32/main_window_win.h"
#include "shell/tray/win32/tray_icon_win.h"
#include "support/default_options_records.h"
#include "support/scripted_interface_table.h"

namespace orvalet::testing {

class SilentTray final : public win32::NotificationIcon {
public:
    void SetIcon(HICON) override {}
    void SetHint(std::wstring_view) override {}
    void ShowBalloon(std::wstring_view) override {}
    void Reinstate() override {}
};

class MeterSandbox {
public:
    explicit MeterSandbox(const wchar_t* registryRoot) : settings(registryRoot), root_(registryRoot) { Clear(); }
    MeterSandbox(const MeterSandbox&) = delete;
    MeterSandbox& operator=(const MeterSandbox&) = delete;
    ~MeterSandbox() { Clear(); }

    // Stores a number among the program's settings, as the program keeps them.
    LSTATUS Store(const wchar_t* name, DWORD value) const {
        const std::wstring options = root_ + L"\\Software\\Orvalet";
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, options.c_str(), name, REG_DWORD, &value, sizeof value);
    }

    // A meter's services on this sandbox, which must outlive the meter; the
    // test sets any other service it needs.
    win32::MainWindowServices Services() {
        win32::MainWindowServices services;
        services.interfaceTable = table.MakeSource();
        services.settings = &settings;
        services.createTrayIcon = [](HWND, UINT, HICON) { return std::make_unique<SilentTray>(); };
        services.terminate = [] {};
        return services;
    }

    ScriptedInterfaceTable table;
    win32::SystemSettingsPlatform settings;

private:
    void Clear() const { ::RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str()); }

    DefaultOptionsRecords records_;
    std::wstring root_;
};

}  // namespace orvalet::testing
