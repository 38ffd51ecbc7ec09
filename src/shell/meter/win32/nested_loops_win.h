#pragma once
// The loops that run inside the meter window's own (shell/nested_loops.h
// lists them all). They are counted by the rules of shell/nested_loops.h,
// and a close ends them rather than waiting for the user.
#include <windows.h>

#include <functional>
#include <string>

#include "base/error_handler.h"
#include "shell/meter/nested_loops.h"

namespace orvalet::win32 {

// Ends the menu this thread shows (the tray menu or the window's system
// menu), cancels the window's move or size loop, and asks each of the
// thread's boxes (the about box, the options dialog, a colour dialog, an
// error box) to close as if cancelled. Each loop then returns in its own time.
void EndOpenLoops(HWND window) noexcept;

class WindowLoops {
public:
    // closeDue is asked for once the outermost loop has ended with a close
    // waiting. While the object lives, the error handler that was in place
    // shows its errors as one of these loops, so that a close its box
    // dispatches waits for the box too; the handler is put back after, so
    // one such object lives at a time.
    explicit WindowLoops(std::function<void()> closeDue);
    WindowLoops(const WindowLoops&) = delete;
    WindowLoops& operator=(const WindowLoops&) = delete;

    // Runs a menu or dialog; an exception it throws goes to the error handler.
    void Run(const std::function<void()>& loop);
    // A loop the system runs for the window, reported by its messages
    // (WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE, WM_ENTERMENULOOP and
    // WM_EXITMENULOOP).
    void Entered() noexcept { loops_.Enter(); }
    void Left() { loops_.Leave(); }
    // True when no loop runs and the close can go ahead; otherwise the
    // window's open loops are ended and the close follows the outermost.
    bool ReadyToClose(HWND window);
    // True the first time only: the options are saved once.
    bool TakeSave() noexcept { return loops_.TakeSave(); }

private:
    void ShowError(const std::wstring& message);

    NestedLoops loops_;
    ScopedErrorHandler errorBoxes_;
};

}  // namespace orvalet::win32
