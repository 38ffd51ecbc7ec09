#include "base/win32/held_quit_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace orvalet::win32 {
namespace {

// A start-up error box shown after the end was requested stays until the
// user closes it, and the program still ends afterwards with its exit code.
TEST(HeldQuit, AMessageBoxAfterTheQuitStaysUntilClosedAndTheQuitFollows) {
    constexpr wchar_t kTitle[] = L"Held quit test";
    ::PostQuitMessage(7);
    std::atomic<bool> boxWasOpen{false};
    std::thread user([&] {
        for (int i = 0; i < 100 && !boxWasOpen; ++i) {
            ::Sleep(50);
            if (const HWND box = ::FindWindowW(L"#32770", kTitle)) {
                boxWasOpen = true;
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
    });
    {
        const HeldQuit held;
        ::MessageBoxW(nullptr, L"Start-up failed", kTitle, MB_OK);
    }
    user.join();
    EXPECT_TRUE(boxWasOpen) << "the box closed by itself";

    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
}  // namespace orvalet::win32
