#pragma once
// The system's message box with the error icon and one button, "Abort".
#include <windows.h>

#include <string>

namespace orvalet::win32 {

// The system offers no single-button Abort box; this one is the plain OK box
// whose button is renamed while it is being shown. Returns when the user
// closes it.
void ShowAbortMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption);

}  // namespace orvalet::win32
