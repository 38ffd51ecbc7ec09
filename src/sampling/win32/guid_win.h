#pragma once
// The portable Guid of a system GUID.
#include <windows.h>

#include <algorithm>

#include "sampling/guid.h"

namespace orvalet::win32 {

inline Guid FromWin32Guid(const GUID& guid) noexcept {
    Guid result{guid.Data1, guid.Data2, guid.Data3, {}};
    std::copy(std::begin(guid.Data4), std::end(guid.Data4), result.Data4.begin());
    return result;
}

}  // namespace orvalet::win32
