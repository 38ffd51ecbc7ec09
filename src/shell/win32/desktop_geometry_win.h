#pragma once
// The desktop as the placement rules see it.
#include "shell/window_placement.h"

namespace orvalet::win32 {

// The virtual desktop's bounds and every monitor's work area with its
// primary flag, in the system's enumeration order.
DesktopGeometry QueryDesktopGeometry();

}  // namespace orvalet::win32
