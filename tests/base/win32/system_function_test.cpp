#include "base/win32/system_function_win.h"

#include <gtest/gtest.h>

#include <dwmapi.h>

namespace orvalet::win32 {
namespace {

// A rarely needed library is loaded from the system directory when first
// asked for and then stays; what does not exist gives null, never a fault.
TEST(OnDemandSystemFunction, LoadsFromTheSystemDirectoryOnceAndGivesNullForWhatIsMissing) {
    using Fn = decltype(&::DwmGetWindowAttribute);
    const auto first = OnDemandSystemFunction<Fn>(L"dwmapi.dll", "DwmGetWindowAttribute");
    ASSERT_NE(first, nullptr);

    const HMODULE loaded = ::GetModuleHandleW(L"dwmapi.dll");
    ASSERT_NE(loaded, nullptr);
    wchar_t path[MAX_PATH]{}, system[MAX_PATH]{};
    ASSERT_GT(::GetModuleFileNameW(loaded, path, MAX_PATH), 0u);
    const int systemLength = static_cast<int>(::GetSystemDirectoryW(system, MAX_PATH));
    EXPECT_EQ(::CompareStringOrdinal(path, systemLength, system, systemLength, TRUE), CSTR_EQUAL) << path;

    EXPECT_EQ(OnDemandSystemFunction<Fn>(L"dwmapi.dll", "DwmGetWindowAttribute"), first);
    EXPECT_EQ(OnDemandSystemFunction<Fn>(L"dwmapi.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(OnDemandSystemFunction<Fn>(L"orvalet-no-such-library.dll", "DwmGetWindowAttribute"), nullptr);
}

}  // namespace
}  // namespace orvalet::win32
