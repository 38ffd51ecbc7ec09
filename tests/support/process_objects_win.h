#pragma once
// What the test process holds, for tests that hold it to staying flat: its
// kernel handles, its GDI and USER objects, and the project's own counts of
// the objects its owners hold.
#include <windows.h>

#include <cstdint>
#include <ostream>

#include "base/win32/unique_handle.h"
#include "rendering/win32/surface_win.h"

namespace orvalet::testing {

// Wine answers GetProcessHandleCount with 0, so there the handle values are
// tried one by one (they are multiples of 4).
inline DWORD HandleCount() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) return count;
    DWORD flags = 0;
    for (std::uintptr_t value = 4; value < 4 * 16384; value += 4)
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return count;
}

// Wine's GetGuiResources reads 0. Its GDI and USER handle tables take a
// handle whose high word is 0 as the object at that index, whatever its
// generation, so there the 16-bit indices are tried one by one: every GDI
// object of the process, and the process's windows, menus, icons and
// cursors (USER indices are even, from 0x20).
inline DWORD GdiObjectCount() {
    if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    DWORD count = 0;
    for (std::uintptr_t index = 1; index <= 0xFFFF; ++index)
        count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) ? 1 : 0;
    return count;
}

inline DWORD UserObjectCount() {
    if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)) return count;
    DWORD count = 0;
    for (std::uintptr_t index = 0x20; index <= 0xFFFF; index += 2) {
        const auto window = reinterpret_cast<HWND>(index);
        DWORD process = 0;
        ICONINFO icon{};
        if (::IsWindow(window)) {
            count += ::GetWindowThreadProcessId(window, &process) && process == ::GetCurrentProcessId() ? 1 : 0;
        } else if (::IsMenu(reinterpret_cast<HMENU>(index))) {
            ++count;
        } else if (::GetIconInfo(reinterpret_cast<HICON>(index), &icon)) {
            ++count;
            ::DeleteObject(icon.hbmMask);  // the copies GetIconInfo made
            if (icon.hbmColor) ::DeleteObject(icon.hbmColor);
        }
    }
    return count;
}

// The system's counts, and the project's counts of the icons, bitmaps, fonts
// and DCs its owners hold.
struct ProcessObjects {
    DWORD handles = 0, gdiObjects = 0, userObjects = 0;
    long icons = 0, bitmaps = 0, fonts = 0, dcs = 0;

    static ProcessObjects Now() {
        using namespace win32;
        // The USER count comes last: reading icons makes and deletes bitmaps.
        const DWORD handles = HandleCount(), gdiObjects = GdiObjectCount();
        return {handles,
                gdiObjects,
                UserObjectCount(),
                UniqueIcon::LiveCount() + BuiltIcon::LiveCount(),
                UniqueBitmap::LiveCount(),
                UniqueFont::LiveCount(),
                UniqueMemoryDC::LiveCount() + WindowDC::LiveCount()};
    }
    friend bool operator==(const ProcessObjects&, const ProcessObjects&) = default;
    friend void PrintTo(const ProcessObjects& o, std::ostream* out) {
        *out << "handles " << o.handles << ", GDI objects " << o.gdiObjects << ", USER objects " << o.userObjects
             << "; live icons " << o.icons << ", bitmaps " << o.bitmaps << ", fonts " << o.fonts << ", DCs "
             << o.dcs;
    }
};

}  // namespace orvalet::testing
