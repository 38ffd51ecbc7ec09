#pragma once
// What the program's dialogs share beyond their layout: the dialog font, the
// program's icon in the caption, and following the DPI of the monitor the
// dialog is on.
#include <windows.h>

#include "base/win32/dpi_win.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

// "Tahoma" 8 point at 96 DPI.
inline constexpr int kDialogFontHeight = 11;

// "Tahoma" at a height designed in pixels at 96 DPI, or, where Tahoma is
// missing, the system's message font scaled to that height.
UniqueFont CreateDialogFont(UINT dpi, int height = kDialogFontHeight, int weight = FW_NORMAL,
                            bool underline = false);

// The program's icon in both sizes a caption and the task switcher show,
// for the dialog's DPI. Set again on a DPI change.
class ProgramIcons {
public:
    void SetOn(HWND dialog, UINT dpi);

private:
    UniqueIcon small_;
    UniqueIcon big_;
};

// A dialog laid out in code follows the DPI itself: the system's automatic
// scaling of dialogs (Windows 10 1703 and later) would fight it.
void TakeOverDpiScaling(HWND dialog);

// The new DPI of a WM_DPICHANGED, after moving the dialog to the place the
// system suggests; the caller lays the dialog out anew for it.
UINT MoveForDpiChange(HWND dialog, WPARAM wParam, LPARAM lParam);

}  // namespace orvalet::win32
