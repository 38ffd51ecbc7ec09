#pragma once
// System functions looked up at run time: those older systems may lack, and
// those of libraries the program needs so rarely (a dialog, a link) that it
// loads them on first use. The meter that runs all day then carries none of
// them: under Wine its idle cost grows with the libraries it has loaded.
#include <windows.h>
#include <commctrl.h>

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

// From here on, every library loaded by name, also by the system's own
// modules, comes from the system directory alone, never from the program's
// folder or the current one, where a planted copy would run inside the
// program. Vista and 7 without their loader update lack the call; there the
// program still loads its own libraries by their full path.
inline void LoadLibrariesFromSystemDirectoryOnly() noexcept {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = SystemFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// A function of a system library loaded on first use; null when the library
// or the function is missing.
template <typename Fn>
Fn OnDemandSystemFunction(const wchar_t* library, const char* name) noexcept {
    return ModuleFunction<Fn>(LoadSystemLibrary(library), name);
}

// The common controls library, loaded by the first dialog: under Wine, a
// meter that loaded it at start, before its own windows, spent about a
// quarter more CPU on every idle second, and one that loads it with a dialog
// hardly more than before. It is loaded by name, never by path: the program's
// manifest then resolves the name to the side-by-side version 6 (visual
// styles), where a path into the system directory would give version 5.
inline HMODULE LoadCommonControlsLibrary() noexcept {
    constexpr const wchar_t* kName = L"comctl32.dll";
    if (const HMODULE loaded = ::GetModuleHandleW(kName)) return loaded;
    if (const HMODULE library = ::LoadLibraryExW(kName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return library;
    // Vista and 7 without their loader update refuse the flag; the name still
    // goes through the manifest's redirection before any search.
    return ::GetLastError() == ERROR_INVALID_PARAMETER ? ::LoadLibraryW(kName) : nullptr;
}

// Registers the common control classes (ICC_* flags) a window is about to
// create, loading the library first if need be; false when it cannot.
inline bool InitCommonControlClasses(DWORD classes) noexcept {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const auto init = ModuleFunction<InitFn>(LoadCommonControlsLibrary(), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX request{sizeof request, classes};
    return init && init(&request) != FALSE;
}

}  // namespace orvalet::win32
