#pragma once
// A message box runs its own message loop, and that loop ends as soon as it
// meets WM_QUIT: a box shown after the program's end was requested would
// close by itself before the user could read it.
#include <windows.h>

namespace orvalet::win32 {

// Takes a pending WM_QUIT off this thread's queue for the guard's lifetime
// and posts it again, with its exit code, afterwards.
class HeldQuit {
public:
    HeldQuit() noexcept {
        MSG quit{};
        held_ = ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
        exitCode_ = static_cast<int>(quit.wParam);
    }
    HeldQuit(const HeldQuit&) = delete;
    HeldQuit& operator=(const HeldQuit&) = delete;
    ~HeldQuit() {
        if (held_) ::PostQuitMessage(exitCode_);
    }

private:
    bool held_ = false;
    int exitCode_ = 0;
};

}  // namespace orvalet::win32
