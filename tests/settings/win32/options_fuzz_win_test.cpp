#include <windows.h>

#include <gtest/gtest.h>

#include "settings/win32/settings_platform_win.h"
#include "support/options_fuzz.h"

namespace orvalet::testing {
namespace {

// The same random states as the in-memory fuzzer, through the system registry
// (beneath a key of its own that is removed before every state).
TEST(OptionsFuzzOnTheRegistry, EveryLoadedFieldIsItsUsableStoredValueOrItsDefaultAndSurvivesARoundTrip) {
    constexpr wchar_t kSandbox[] = L"Software\\Orvalet Fuzz Sandbox";
    const int states = FuzzCount(60, 300);
    const std::uint64_t seed = FuzzSeed("settings states on the system registry", 13002, states);
    win32::SystemSettingsPlatform platform(kSandbox);
    for (int i = 0; i < states && !HasFailure(); ++i) {
        SCOPED_TRACE(Reproduce(seed + i));
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSandbox);
        FuzzRandom random(seed + i);
        const StoredState state = WriteRandomState(random, platform.Registry());
        CheckLoad(platform, state, random.OneIn(2));
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSandbox);
}

}  // namespace
}  // namespace orvalet::testing
