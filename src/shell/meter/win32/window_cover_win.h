#pragma once
// Whether the meter is in full view, for the tray icon's click.
#include <windows.h>

#include <functional>

namespace orvalet::win32 {

// True when the window is cloaked: visible by its style but not shown, as
// suspended store apps and several shell surfaces are from Windows 8 on.
// False where the system has no cloaking (Vista, 7).
bool IsWindowCloaked(HWND window) noexcept;

// True when any visible window above h in the Z order, top-most ones
// included and whatever their transparency, overlaps h's rectangle.
// Cloaked windows are skipped: some cover the whole screen unseen, and
// would make every window count as covered.
bool IsWindowCovered(HWND h);
// The same with the cloaking test given, for tests.
bool IsWindowCovered(HWND h, const std::function<bool(HWND)>& isCloaked);

}  // namespace orvalet::win32
