#include <algorithm>

#include "rendering/win32/surface_win.h"

namespace orvalet::win32 {
namespace {

// No exception may unwind through the system's enumeration; running out of
// memory ends the enumeration with the names found so far.
int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM names) noexcept {
    try {
        reinterpret_cast<std::vector<std::wstring>*>(names)->emplace_back(font->lfFaceName);
        return 1;
    } catch (...) {
        return 0;
    }
}

// The user's collation without regard to case, like the lists of the shell.
int CompareIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                             b.c_str(), static_cast<int>(b.size()), nullptr, nullptr, 0) -
           CSTR_EQUAL;
}

bool EqualButForCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

}  // namespace

std::vector<std::wstring> InstalledFontNames() {
    // Every family comes once per character set it supports.
    std::vector<std::wstring> found{L"Default"};
    const WindowDC screen(nullptr);
    if (screen) {
        LOGFONTW all{};
        all.lfCharSet = DEFAULT_CHARSET;
        ::EnumFontFamiliesExW(screen.get(), &all, &CollectFamily, reinterpret_cast<LPARAM>(&found), 0);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const std::wstring& a, const std::wstring& b) { return CompareIgnoringCase(a, b) < 0; });

    std::vector<std::wstring> names;
    for (std::wstring& name : found) {
        if (name.empty() || (!names.empty() && EqualButForCase(names.back(), name))) continue;
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace orvalet::win32
