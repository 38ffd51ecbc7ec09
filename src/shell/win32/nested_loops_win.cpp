#include "shell/win32/nested_loops_win.h"

#include <cwchar>

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

}  // namespace

void EndMenuAndBoxes() noexcept {
    ::EndMenu();
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseIfBox, 0);
}

}  // namespace orvalet::win32
