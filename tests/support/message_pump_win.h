#pragma once
// Running this thread's message loop in a test until something holds.
#include <windows.h>

#include <cwchar>
#include <functional>

namespace orvalet::win32 {

// Dispatches every message waiting for this thread, as the message loop would.
inline void PumpMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Dispatches messages until `done` holds or `milliseconds` have passed;
// returns whether `done` held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        PumpMessages();
        if (done()) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

// A shown top-level window of this thread with the class name, or null.
inline HWND ShownWindowOfClass(const wchar_t* className) {
    struct Search {
        const wchar_t* name;
        HWND found;
    } search{className, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (::IsWindowVisible(window) && ::_wcsicmp(name, s.name) == 0) s.found = window;
        return s.found == nullptr;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace orvalet::win32
