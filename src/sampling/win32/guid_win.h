#pragma once
// Conversions between the portable Guid and the system's GUID.
#include <windows.h>

#include <algorithm>

#include "sampling/guid.h"

namespace orvalet::win32 {

inline Guid FromWin32Guid(const GUID& guid) noexcept {
    Guid result{guid.Data1, guid.Data2, guid.Data3, {}};
    std::copy(std::begin(guid.Data4), std::end(guid.Data4), result.Data4.begin());
    return result;
}

inline GUID ToWin32Guid(const Guid& guid) noexcept {
    GUID result{guid.Data1, guid.Data2, guid.Data3, {}};
    std::copy(guid.Data4.begin(), guid.Data4.end(), std::begin(result.Data4));
    return result;
}

}  // namespace orvalet::win32
