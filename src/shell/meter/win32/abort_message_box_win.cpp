#include "shell/meter/win32/abort_message_box_win.h"

#include "base/win32/unique_handle.h"

namespace orvalet::win32 {
namespace {

using UniqueHook = UniqueHandle<HHOOK, &::UnhookWindowsHookEx>;

// The hook only lives while MessageBoxW runs on this thread; the first window
// it activates is the message box itself.
thread_local bool renamePending = false;

LRESULT CALLBACK RenameOkButton(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && renamePending) {
        renamePending = false;
        ::SetDlgItemTextW(reinterpret_cast<HWND>(wParam), IDOK, L"Abort");
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void ShowAbortMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption) {
    renamePending = true;
    const UniqueHook hook(::SetWindowsHookExW(WH_CBT, &RenameOkButton, nullptr, ::GetCurrentThreadId()));
    ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    renamePending = false;
}

}  // namespace orvalet::win32
