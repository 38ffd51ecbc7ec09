#pragma once
// What the settings unit needs from the operating system, behind one seam:
// the per-user registry, the size of the primary monitor's work area, the
// running executable's path and the version report. The Windows build
// provides the real services (settings/win32/settings_platform_win.h);
// tests supply their own.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/registry_store.h"

namespace orvalet {

struct WorkAreaSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The fields of the system's version report that the version check reads.
struct OSVersionInfo {
    std::uint32_t platformId = 0;  // 2 for the NT family
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
};

class SettingsPlatform {
public:
    virtual ~SettingsPlatform() = default;

    virtual RegistryStore& Registry() = 0;
    virtual WorkAreaSize PrimaryWorkAreaSize() = 0;
    virtual std::wstring ExecutablePath() = 0;
    // Nothing when the system does not answer.
    virtual std::optional<OSVersionInfo> QueryOSVersion() = 0;
};

}  // namespace orvalet
