#include "base/win32/accessible_names_win.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <thread>

#include "base/win32/system_function_win.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {
namespace {

HRESULT InitializeCom() {
    static const auto initialize = OnDemandSystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    return initialize(nullptr, COINIT_MULTITHREADED);
}

void UninitializeCom() {
    static const auto uninitialize =
        OnDemandSystemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    uninitialize();
}

// S_OK on a thread without COM, S_FALSE while COM is set up there; balanced.
HRESULT ComStateOfThisThread() {
    const HRESULT result = InitializeCom();
    if (SUCCEEDED(result)) UninitializeCom();
    return result;
}

void NameAControl() {
    const UniqueWindow control(
        ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    AccessibleNames names;
    names.Set(control.get(), L"name");
}

// The names set COM up on a thread without it and take it down again, and
// leave the COM of a thread that has it in another apartment as it was.
TEST(AccessibleNames, LeaveTheThreadsComAsTheyFoundIt) {
    std::thread([] {
        NameAControl();
        EXPECT_EQ(ComStateOfThisThread(), S_OK) << "COM stays set up on a thread that had none";

        ASSERT_EQ(InitializeCom(), S_OK);
        NameAControl();
        EXPECT_EQ(ComStateOfThisThread(), S_FALSE) << "the thread's own COM was taken down";
        UninitializeCom();
    }).join();
}

}  // namespace
}  // namespace orvalet::win32
