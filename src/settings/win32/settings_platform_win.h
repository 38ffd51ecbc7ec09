#pragma once
// The settings unit's platform services on Windows: the real registry,
// screen, executable path and version report.
#include <string>

#include "settings/settings_platform.h"
#include "settings/win32/registry_store_win.h"

namespace orvalet::win32 {

class SystemSettingsPlatform final : public SettingsPlatform {
public:
    // registryRoot as for CurrentUserRegistryStore; empty for the user's own settings.
    explicit SystemSettingsPlatform(std::wstring registryRoot = {});

    RegistryStore& Registry() override { return registry_; }
    WorkAreaSize PrimaryWorkAreaSize() override;
    std::wstring ExecutablePath() override;
    std::optional<OSVersionInfo> QueryOSVersion() override;

private:
    CurrentUserRegistryStore registry_;
};

// The services on the user's own registry.
SystemSettingsPlatform& SystemSettings();

}  // namespace orvalet::win32
