#pragma once
// A settings platform made of an in-memory registry and fixed answers, for
// measuring the settings logic without the system registry.
#include <optional>
#include <string>

#include "settings/registry_store.h"
#include "settings/settings_platform.h"
#include "support/memory_registry_store.h"

namespace orvalet::testing {

class FakeSettingsPlatform final : public SettingsPlatform {
public:
    MemoryRegistryStore registry;
    WorkAreaSize workArea{1920, 1040};
    std::wstring executablePath = L"C:\\Program Files\\Orvalet\\Orvalet.exe";
    std::optional<OSVersionInfo> osVersion = OSVersionInfo{2, 10, 0};

    RegistryStore& Registry() override { return registry; }
    WorkAreaSize PrimaryWorkAreaSize() override { return workArea; }
    std::wstring ExecutablePath() override { return executablePath; }
    std::optional<OSVersionInfo> QueryOSVersion() override { return osVersion; }
};

}  // namespace orvalet::testing
