#include "shell/meter/win32/nested_loops_win.h"

#include <cwchar>
#include <utility>

namespace orvalet::win32 {
namespace {

// The class of every dialog box, the system's message and colour boxes among them.
constexpr wchar_t kDialogClass[] = L"#32770";

BOOL CALLBACK CloseIfBox(HWND window, LPARAM) noexcept {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    // A box takes WM_CLOSE as its close button, that is as Cancel.
    if (std::wcscmp(name, kDialogClass) == 0) ::PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// The move or size loop ends as the user cancels it: when the window loses
// the mouse capture (WM_CANCELMODE), and on Esc. Wine's loop ends on the key
// alone, so it gets both.
void EndMoveOrSizeLoop(HWND window) noexcept {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) || !(thread.flags & GUI_INMOVESIZE)) return;
    ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
    ::SendMessageW(window, WM_CANCELMODE, 0, 0);
}

}  // namespace

void EndOpenLoops(HWND window) noexcept {
    ::EndMenu();
    EndMoveOrSizeLoop(window);
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseIfBox, 0);
}

WindowLoops::WindowLoops(std::function<void()> closeDue)
    : loops_(std::move(closeDue)), errorBoxes_([this](const std::wstring& message) { ShowError(message); }) {}

void WindowLoops::Run(const std::function<void()>& loop) {
    const NestedLoops::Scope counted(loops_);
    RunGuarded(loop);
}

bool WindowLoops::ReadyToClose(HWND window) {
    if (loops_.RequestClose() == NestedLoops::CloseStep::CloseNow) return true;
    EndOpenLoops(window);
    return false;
}

// Not guarded: an error of the outer handler itself has nowhere to go.
void WindowLoops::ShowError(const std::wstring& message) {
    const NestedLoops::Scope counted(loops_);
    if (const ErrorHandler& show = errorBoxes_.Previous()) show(message);
}

}  // namespace orvalet::win32
