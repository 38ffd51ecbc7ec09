// A library the planting test (planting.sh) places beside a copy of
// Orvalet.exe under the names of the libraries the program loads. Loaded into
// a process, it leaves an empty file named after itself plus ".loaded" beside
// itself. It exports IP Helper's two table functions, failing, so that a
// program that imports them starts with it in their place.
#include <windows.h>

#include "base/win32/unique_handle.h"

namespace {

void LeaveMarker(HMODULE self) noexcept {
    constexpr wchar_t kSuffix[] = L".loaded";
    wchar_t path[MAX_PATH + sizeof kSuffix / sizeof(wchar_t)];
    const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    ::lstrcpyW(path + length, kSuffix);
    const HANDLE created = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const orvalet::win32::UniqueKernelHandle file(created == INVALID_HANDLE_VALUE ? nullptr : created);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetIfTable2(void** table) {
    *table = nullptr;
    return ERROR_NOT_SUPPORTED;
}

extern "C" __declspec(dllexport) void WINAPI FreeMibTable(void*) {}
