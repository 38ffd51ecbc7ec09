// The library planting.sh places beside a copy of Orvalet.exe: loaded into a
// process, it leaves an empty file of its own name plus ".loaded" beside
// itself. It exports IP Helper's table functions, failing, so that a program
// importing them starts with it in their place.
#include <windows.h>

#include "base/win32/unique_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 8];
    const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    ::lstrcpyW(path + length, L".loaded");
    const HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const orvalet::win32::UniqueKernelHandle marker(file == INVALID_HANDLE_VALUE ? nullptr : file);
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetIfTable2(void** table) {
    *table = nullptr;
    return ERROR_NOT_SUPPORTED;
}

extern "C" __declspec(dllexport) void WINAPI FreeMibTable(void*) {}
