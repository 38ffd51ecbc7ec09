#pragma once
// What the dialogs whose controls are created in code share: bounds designed
// at 96 DPI, controls made at their scaled bounds, fonts at a DPI, the text a
// label needs, and the dialog's own size and place.
#include <windows.h>

#include <string>

#include "base/dialog_rows.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

RECT ScaledBounds(const DesignBounds& design, UINT dpi);

// A control's window class and styles; WS_CHILD and WS_VISIBLE are added.
struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

// Made in place with its font; null when the system refuses.
HWND CreateChildControl(HWND parent, int id, const ControlClass& controlClass, const wchar_t* text,
                        const RECT& bounds, HFONT font);

// A font whose height is designed in pixels at 96 DPI.
UniqueFont CreateScaledFont(const wchar_t* face, int height, UINT dpi, int weight = FW_NORMAL,
                            bool underline = false);

std::wstring WindowText(HWND window);

// How wide the window's text is in the window's own font.
int TextWidth(HWND window);

// Gives the window's client area this size, keeping its frame.
void SetClientSize(HWND window, int width, int height);

// Centres the window on the owner's monitor (its own when there is no
// owner), keeping the caption on the monitor's work area.
void CenterOnMonitorOf(HWND window, HWND owner);

}  // namespace orvalet::win32
