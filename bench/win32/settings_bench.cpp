// Loading and saving the options against the real registry, beneath a key of
// the benchmark's own that is removed afterwards.
#include <windows.h>

#include "harness.h"
#include "settings/options.h"
#include "settings/win32/settings_platform_win.h"

namespace {

constexpr wchar_t kBenchRoot[] = L"Software\\Orvalet Bench Sandbox";

class SandboxedPlatform {
public:
    SandboxedPlatform() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kBenchRoot); }
    ~SandboxedPlatform() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kBenchRoot); }
    orvalet::win32::SystemSettingsPlatform platform{kBenchRoot};
};

}  // namespace

ORVALET_WIN_BENCH(Settings_SaveOptions) {
    SandboxedPlatform sandbox;
    const orvalet::OVL_OptionsRecord options;
    for (std::size_t i = 0; i < iterations; ++i) orvalet::SaveOptions(options, sandbox.platform.Registry());
}

ORVALET_WIN_BENCH(Settings_LoadOptions) {
    SandboxedPlatform sandbox;
    orvalet::SaveOptions(orvalet::OVL_OptionsRecord{}, sandbox.platform.Registry());
    orvalet::OVL_OptionsRecord options;
    for (std::size_t i = 0; i < iterations; ++i) {
        orvalet::LoadOptions(options, sandbox.platform);
        orvalet::bench::KeepAlive(options);
    }
}

ORVALET_WIN_BENCH(Settings_QueryAutostart) {
    orvalet::RegistryStore& registry = orvalet::win32::SystemSettings().Registry();
    for (std::size_t i = 0; i < iterations; ++i) {
        orvalet::bench::KeepAlive(orvalet::QueryAutostart(registry));
    }
}
