#pragma once
// Ending the loops that run inside the meter's own, so that a close need
// not wait for the user.
#include <windows.h>

namespace orvalet::win32 {

// Ends the popup menu this thread shows and asks each of its boxes (the
// about box, the options dialog, a colour dialog, an error box) to close as
// if cancelled. Each loop then returns in its own time.
void EndMenuAndBoxes() noexcept;

}  // namespace orvalet::win32
