#pragma once
// System functions looked up at run time: those older systems may lack, and
// those of libraries the program needs so rarely (a dialog, a link) that it
// loads them on first use. The meter that runs all day then carries none of
// them: under Wine its idle cost grows with the libraries it has loaded.
#include <windows.h>

#include <string>

namespace orvalet::win32 {

// The named export of a module as a typed function pointer; null when the
// module or the export is missing.
template <typename Fn>
Fn ModuleFunction(HMODULE module, const char* name) noexcept {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// A function of a loaded system module that older systems may lack; null then.
template <typename Fn>
Fn SystemFunction(const wchar_t* module, const char* name) noexcept {
    return ModuleFunction<Fn>(::GetModuleHandleW(module), name);
}

// The system library, loaded from the system directory (never from the
// program's or the current directory) on the first call and kept loaded for
// the rest of the run; null when it cannot be loaded. The module is never
// freed: the function pointers taken from it are kept in statics.
inline HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
    if (const HMODULE loaded = ::GetModuleHandleW(name)) return loaded;
    wchar_t directory[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    try {
        std::wstring path(directory, length);
        path += L'\\';
        path += name;
        return ::LoadLibraryW(path.c_str());
    } catch (...) {
        return nullptr;
    }
}

// A function of a system library loaded on first use; null when the library
// or the function is missing.
template <typename Fn>
Fn OnDemandSystemFunction(const wchar_t* library, const char* name) noexcept {
    return ModuleFunction<Fn>(LoadSystemLibrary(library), name);
}

}  // namespace orvalet::win32
