// A helper for the end-to-end test of Orvalet.exe and the screenshot script:
// looks for the meter's window by its class and, on request, closes it the
// way Windows closes a window, so the meter saves its settings.
//   window_probe exists   exit code 0 when a meter window exists, 1 otherwise
//   window_probe close    sends it WM_CLOSE; exit code 0 when there was one
//   window_probe alpha    prints the layered window's alpha; exit code 1
//                         when the window is not layered
//   window_probe traymenu sends the right click on the tray icon, as the
//                         shell reports it to the meter
//   window_probe menu     exit code 0 while a menu of the meter is open
//   window_probe up|return  presses the key in the meter's open menu
//   window_probe about    exit code 0 while the about box is open
//   window_probe escape   presses Esc in the about box
//   window_probe rect     prints the window's screen rectangle as WxH+X+Y
//   window_probe move X Y W H   moves and sizes the window, as a user's drag would
//   window_probe loopback prints the GUID of the loopback interface
//   window_probe comctl32 prints the path of the common controls library the
//                         meter has loaded; exit code 1 when it has none
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/win32/unique_handle.h"
#include "sampling/win32/guid_win.h"
#include "shell/win32/main_window_win.h"

namespace {

struct MenuSearch {
    DWORD thread;
    bool found;
};

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM search) {
    auto& s = *reinterpret_cast<MenuSearch*>(search);
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32768" && ::IsWindowVisible(window) &&
        ::GetWindowThreadProcessId(window, nullptr) == s.thread)
        s.found = true;
    return TRUE;
}

bool MenuIsOpen(HWND meter) {
    MenuSearch search{::GetWindowThreadProcessId(meter, nullptr), false};
    ::EnumWindows(&FindMenuWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The menu's own message loop takes the keys posted to the meter's thread.
void PressKey(HWND window, WPARAM key) {
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

HWND AboutBox() { return ::FindWindowW(L"#32770", L"About Orvalet"); }

std::wstring LoopbackGuid() {
    MIB_IF_TABLE2* table = nullptr;
    if (::GetIfTable2(&table) != NO_ERROR || !table) return {};
    std::wstring guid;
    for (ULONG i = 0; i < table->NumEntries && guid.empty(); ++i)
        if (table->Table[i].Type == IF_TYPE_SOFTWARE_LOOPBACK)
            guid = orvalet::win32::FromWin32Guid(table->Table[i].InterfaceGuid).ToString();
    ::FreeMibTable(table);
    return guid;
}

// The path of the common controls library among the modules of the meter's
// process; empty when it has none loaded.
std::wstring CommonControlsOf(HWND meter) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(meter, &process);
    const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
    if (taken == INVALID_HANDLE_VALUE) return {};
    const orvalet::win32::UniqueKernelHandle snapshot(taken);
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = ::Module32FirstW(taken, &module); more; more = ::Module32NextW(taken, &module))
        if (::lstrcmpiW(module.szModule, L"comctl32.dll") == 0) return module.szExePath;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "move") == 0) {
        const HWND meter = ::FindWindowW(orvalet::win32::MAIN_WINDOW_CLASS, nullptr);
        return meter && ::SetWindowPos(meter, nullptr, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                       std::atoi(argv[5]), SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }
    if (argc != 2) return 2;
    const HWND meter = ::FindWindowW(orvalet::win32::MAIN_WINDOW_CLASS, nullptr);
    if (std::strcmp(argv[1], "exists") == 0) return meter ? 0 : 1;
    if (std::strcmp(argv[1], "close") == 0) {
        if (!meter) return 1;
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(meter, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 20000, &result);
        return 0;
    }
    if (std::strcmp(argv[1], "alpha") == 0) {
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!meter || !(::GetWindowLongPtrW(meter, GWL_EXSTYLE) & WS_EX_LAYERED) ||
            !::GetLayeredWindowAttributes(meter, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
            return 1;
        std::printf("%u\n", static_cast<unsigned>(alpha));
        return 0;
    }
    const std::string command = argv[1];
    if (command == "traymenu") {
        if (!meter) return 1;
        ::PostMessageW(meter, orvalet::win32::WM_TRAYICON, MAKEWPARAM(400, 300), MAKELPARAM(WM_CONTEXTMENU, 1));
        return 0;
    }
    if (command == "menu") return meter && MenuIsOpen(meter) ? 0 : 1;
    if (command == "up" || command == "return") {
        if (!meter) return 1;
        PressKey(meter, command == "up" ? VK_UP : VK_RETURN);
        return 0;
    }
    if (command == "about") return AboutBox() ? 0 : 1;
    if (command == "escape") {
        if (!AboutBox()) return 1;
        PressKey(AboutBox(), VK_ESCAPE);
        return 0;
    }
    if (std::strcmp(argv[1], "rect") == 0) {
        RECT rect{};
        if (!meter || !::GetWindowRect(meter, &rect)) return 1;
        std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
        return 0;
    }
    if (command == "comctl32") {
        const std::wstring path = meter ? CommonControlsOf(meter) : std::wstring();
        if (path.empty()) return 1;
        std::printf("%ls\n", path.c_str());
        return 0;
    }
    if (std::strcmp(argv[1], "loopback") == 0) {
        const std::wstring guid = LoopbackGuid();
        if (guid.empty()) return 1;
        std::printf("%ls\n", guid.c_str());
        return 0;
    }
    return 2;
}
