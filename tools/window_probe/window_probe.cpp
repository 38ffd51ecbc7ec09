// Drives the real Orvalet.exe from another process for the end-to-end tests
// and the screenshot script, the way a user would: it finds the meter's
// window by its class, clicks its tray icon, presses keys where the keyboard
// focus is, clicks the controls of its dialogs, and reads the results back.
// Several commands run in one call when joined by "+"; the first that fails
// ends the call with its exit code. "wait COMMAND" repeats the command until
// it succeeds, for up to 10 seconds.
//   window_probe exists   exit code 0 when a meter window exists, 1 otherwise
//   window_probe visible  exit code 0 while the meter window is shown
//   window_probe close    sends it WM_CLOSE; exit code 0 when there was one
//   window_probe alpha    prints the layered window's alpha; exit code 1
//                         when the window is not layered
//   window_probe alpha below N   exit code 0 while the alpha is below N
//   window_probe traymenu sends the right click on the tray icon, as the
//                         shell reports it to the meter
//   window_probe trayclick  sends the left click on the tray icon
//   window_probe menu     exit code 0 while a menu of the meter is open
//   window_probe up|down|tab|return|escape  presses the key where the
//                         meter's keyboard focus is (in its open menu, too)
//   window_probe focus [CLASS]  prints the window class of the focused
//                         control; with CLASS, exit code 0 when it is that
//   window_probe about    exit code 0 while the about box is shown
//   window_probe dialog CAPTION   exit code 0 while that dialog is shown
//   window_probe controls CAPTION   prints the dialog's controls, one line
//                         each: id, class, "visible" or "hidden"
//   window_probe click CAPTION TEXT   clicks the dialog's control whose text
//                         or class is TEXT: a button or check box as
//                         BM_CLICK does, any other control with the mouse
//   window_probe checked CAPTION TEXT   exit code 0 when that box is ticked
//   window_probe page CAPTION N   turns the dialog's tabs to page N (from 0)
//   window_probe rect CAPTION   prints the dialog's client area on the screen
//                         as WxH+X+Y
//   window_probe rect     prints the window's screen rectangle as WxH+X+Y
//   window_probe move X Y W H   moves and sizes the window, as a user's drag would
//   window_probe loopback prints the GUID of the loopback interface
//   window_probe comctl32 prints the path of the common controls library the
//                         meter has loaded; exit code 1 when it has none
//   window_probe graphtext  prints the graph's window text, its name for
//                         screen readers
//   window_probe hover X Y  moves the cursor onto the graph, X and Y percent
//                         across and down it, and posts the mouse move
//   window_probe drag     presses the left button on the graph, which starts
//                         dragging the meter
//   window_probe moving   exit code 0 while the meter's move or size loop runs
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "sampling/win32/guid_win.h"
#include "shell/meter/win32/main_window_win.h"

namespace {

using Args = std::vector<std::string>;

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return wide;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// The text of a control in another process, which WM_GETTEXT copies across.
std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    ::SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

struct MenuSearch {
    DWORD thread;
    bool found;
};

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM search) {
    auto& s = *reinterpret_cast<MenuSearch*>(search);
    if (ClassOf(window) == L"#32768" && ::IsWindowVisible(window) &&
        ::GetWindowThreadProcessId(window, nullptr) == s.thread)
        s.found = true;
    return TRUE;
}

bool MenuIsOpen(HWND meter) {
    MenuSearch search{::GetWindowThreadProcessId(meter, nullptr), false};
    ::EnumWindows(&FindMenuWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The control with the keyboard focus on the meter's thread; null when none.
HWND FocusOf(HWND meter) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(meter, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Posted where a typed key would arrive: the dialog manager's loop then
// handles Tab, Enter and Esc as it does for the user's keys, and a menu's
// own loop takes every key posted to the meter's thread.
void PressKey(HWND meter, WPARAM key) {
    const HWND focus = FocusOf(meter);
    const HWND target = focus ? focus : meter;
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// An open dialog, once it is shown: built, with all its controls.
HWND Dialog(const std::string& caption) {
    const HWND dialog = ::FindWindowW(L"#32770", Wide(caption).c_str());
    return dialog && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

// Every control of a dialog, its pages and panels included, in z-order.
std::vector<HWND> ControlsOf(HWND dialog) {
    std::vector<HWND> controls;
    ::EnumChildWindows(dialog, [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

HWND FindControl(HWND dialog, const std::string& name) {
    const std::wstring wanted = Wide(name);
    for (const HWND control : ControlsOf(dialog))
        if (ClassOf(control) == wanted || TextOf(control) == wanted) return control;
    return nullptr;
}

void Click(HWND control) {
    if (ClassOf(control) == WC_BUTTONW) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        return;
    }
    RECT client{};
    ::GetClientRect(control, &client);
    const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::PostMessageW(control, WM_LBUTTONUP, 0, centre);
}

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

HWND GraphOf(HWND meter) {
    return meter ? ::FindWindowExW(meter, nullptr, orvalet::win32::TrafficGraphControl::ClassName(), nullptr)
                 : nullptr;
}

// The cursor at X and Y percent of the graph's client area.
int Hover(HWND graph, int x, int y) {
    RECT client{};
    if (!graph || !::GetClientRect(graph, &client)) return 1;
    POINT point{client.right * x / 100, client.bottom * y / 100};
    const LPARAM inClient = MAKELPARAM(point.x, point.y);
    ::ClientToScreen(graph, &point);
    ::SetCursorPos(point.x, point.y);
    ::PostMessageW(graph, WM_MOUSEMOVE, 0, inClient);
    return 0;
}

// As ImageMagick's geometry: WxH+X+Y.
void PrintRect(const RECT& rect) {
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
}

// One command; 0 when it did what it says, 1 when not, 2 when it is unknown.
int Run(const Args& a) {
    const std::string command = a.empty() ? "" : a[0];
    const HWND meter = ::FindWindowW(orvalet::win32::MAIN_WINDOW_CLASS, nullptr);
    if (command == "move" && a.size() == 5)
        return meter && ::SetWindowPos(meter, nullptr, std::atoi(a[1].c_str()), std::atoi(a[2].c_str()),
                                       std::atoi(a[3].c_str()), std::atoi(a[4].c_str()),
                                       SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    if (command == "hover" && a.size() == 3)
        return Hover(GraphOf(meter), std::atoi(a[1].c_str()), std::atoi(a[2].c_str()));
    // The commands on a dialog, found by its caption.
    const bool onDialog = command == "dialog" || command == "controls" || command == "page" || command == "click" ||
                          command == "checked" || (command == "rect" && a.size() == 2);
    if (onDialog && (a.size() == 2 || a.size() == 3)) {
        const HWND dialog = Dialog(a[1]);
        if (command == "dialog") return dialog ? 0 : 1;
        if (!dialog) return 1;
        if (command == "controls") {
            for (const HWND control : ControlsOf(dialog))
                std::printf("%d %ls %s\n", ::GetDlgCtrlID(control), ClassOf(control).c_str(),
                            ::IsWindowVisible(control) ? "visible" : "hidden");
            return 0;
        }
        if (command == "rect") {
            RECT client{};
            if (!::GetClientRect(dialog, &client)) return 1;
            ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
            PrintRect(client);
            return 0;
        }
        if (a.size() != 3) return 2;
        if (command == "page") {
            const HWND tabs = FindControl(dialog, "SysTabControl32");
            if (!tabs) return 1;
            ::SendMessageTimeoutW(tabs, TCM_SETCURFOCUS, std::atoi(a[2].c_str()), 0, SMTO_ABORTIFHUNG, 5000, nullptr);
            return 0;
        }
        const HWND control = FindControl(dialog, a[2]);
        if (command == "click" && control) {
            Click(control);
            return 0;
        }
        if (command == "checked" && control) return ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
        return command == "click" || command == "checked" ? 1 : 2;
    }
    if (command == "focus" && a.size() <= 2) {
        const HWND focus = meter ? FocusOf(meter) : nullptr;
        if (!focus) return 1;
        if (a.size() == 2) return ClassOf(focus) == Wide(a[1]) ? 0 : 1;
        std::printf("%ls\n", ClassOf(focus).c_str());
        return 0;
    }
    if (command == "alpha" && (a.size() == 1 || (a.size() == 3 && a[1] == "below"))) {
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!meter || !(::GetWindowLongPtrW(meter, GWL_EXSTYLE) & WS_EX_LAYERED) ||
            !::GetLayeredWindowAttributes(meter, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
            return 1;
        if (a.size() == 3) return alpha < std::atoi(a[2].c_str()) ? 0 : 1;
        std::printf("%u\n", static_cast<unsigned>(alpha));
        return 0;
    }
    if (a.size() != 1) return 2;
    if (command == "exists") return meter ? 0 : 1;
    if (command == "visible") return meter && ::IsWindowVisible(meter) ? 0 : 1;
    if (command == "about") return Dialog("About Orvalet") ? 0 : 1;
    if (command == "loopback") {
        const std::wstring guid = LoopbackGuid();
        if (guid.empty()) return 1;
        std::printf("%ls\n", guid.c_str());
        return 0;
    }
    if (!meter) return 1;
    if (command == "close") {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(meter, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 20000, &result);
        return 0;
    }
    if (command == "traymenu" || command == "trayclick") {
        const UINT event = command == "traymenu" ? WM_CONTEXTMENU : NIN_SELECT;
        ::PostMessageW(meter, orvalet::win32::WM_TRAYICON, MAKEWPARAM(400, 300), MAKELPARAM(event, 1));
        return 0;
    }
    if (command == "menu") return MenuIsOpen(meter) ? 0 : 1;
    if (command == "drag") {
        const HWND graph = GraphOf(meter);
        RECT client{};
        if (!graph || !::GetClientRect(graph, &client)) return 1;
        ::PostMessageW(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, client.bottom / 2));
        return 0;
    }
    if (command == "moving") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(meter, nullptr), &info) &&
                       (info.flags & GUI_INMOVESIZE)
                   ? 0
                   : 1;
    }
    const struct {
        const char* name;
        WPARAM key;
    } keys[] = {{"up", VK_UP}, {"down", VK_DOWN}, {"tab", VK_TAB}, {"return", VK_RETURN}, {"escape", VK_ESCAPE}};
    for (const auto& key : keys) {
        if (command != key.name) continue;
        PressKey(meter, key.key);
        return 0;
    }
    if (command == "rect") {
        RECT rect{};
        if (!::GetWindowRect(meter, &rect)) return 1;
        PrintRect(rect);
        return 0;
    }
    if (command == "graphtext") {
        std::printf("%ls\n", TextOf(GraphOf(meter)).c_str());
        return 0;
    }
    if (command == "comctl32") {
        const std::wstring path = CommonControlsOf(meter);
        if (path.empty()) return 1;
        std::printf("%ls\n", path.c_str());
        return 0;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Args command;
    for (int i = 1; i <= argc; ++i) {
        if (i < argc && std::strcmp(argv[i], "+") != 0) {
            command.emplace_back(argv[i]);
            continue;
        }
        const bool wait = !command.empty() && command[0] == "wait";
        if (wait) command.erase(command.begin());
        int code = Run(command);
        for (int tries = 0; wait && code == 1 && tries < 500; ++tries) {
            ::Sleep(20);
            code = Run(command);
        }
        std::fflush(stdout);
        if (code != 0) return code;
        command.clear();
    }
    return 0;
}
