// The floor the meter is measured against: a minimal Win32 program that
// makes only the calls a traffic meter cannot avoid, once a second, driven
// like the meter by a timer-queue timer that posts to the window.
//
//   reference_meter.exe [iphelper|unavoidable] [fade]
//
// iphelper:    GetIfTable2 and FreeMibTable only.
// unavoidable: also one new 16 x 16 icon handed to the notification area with
//              a tip, and one 320 x 240 BitBlt into the shown window (default).
// fade:        adds one 25 ms timer-queue timer whose tick reads the cursor
//              position and the window rectangle, as mouse-sensitive fading does.
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <shellapi.h>

#include <cstdint>
#include <cwchar>

namespace {

constexpr UINT kSecondTick = WM_APP + 1;
constexpr UINT kFadeTick = WM_APP + 2;
constexpr int kWidth = 320, kHeight = 240;

struct Reference {
    bool unavoidable = true;
    HWND window = nullptr;
    HDC pictureDC = nullptr;
    std::uint32_t* pixels = nullptr;
    std::uint32_t* iconPixels = nullptr;
    HBITMAP iconColor = nullptr;
    HBITMAP iconMask = nullptr;
    HICON icon = nullptr;
    unsigned long ticks = 0;
};

Reference reference;

HBITMAP TopDownDib(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
}

NOTIFYICONDATAW IconData(UINT flags) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = reference.window;
    data.uID = 1;
    data.uFlags = flags;
    return data;
}

void SecondTick() {
    MIB_IF_TABLE2* table = nullptr;
    if (::GetIfTable2(&table) == NO_ERROR && table) ::FreeMibTable(table);
    if (!reference.unavoidable) return;

    ++reference.ticks;
    for (int i = 0; i < 16 * 16; ++i) reference.iconPixels[i] = 0xFF000000u | (reference.ticks * 2654435761u >> 8);
    ICONINFO info{TRUE, 0, 0, reference.iconMask, reference.iconColor};
    const HICON icon = ::CreateIconIndirect(&info);
    NOTIFYICONDATAW data = IconData(NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    data.hIcon = icon;
    std::swprintf(data.szTip, 128, L"\u25bc %lu.0 kb/s | \u25b2 0.0 kb/s\rAll Hardware Interfaces", reference.ticks);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
    if (reference.icon) ::DestroyIcon(reference.icon);
    reference.icon = icon;

    for (int i = 0; i < kWidth * kHeight; ++i) reference.pixels[i] = reference.ticks;
    const HDC dc = ::GetDC(reference.window);
    ::BitBlt(dc, 0, 0, kWidth, kHeight, reference.pictureDC, 0, 0, SRCCOPY);
    ::ReleaseDC(reference.window, dc);
}

void FadeTick() {
    POINT cursor{};
    RECT bounds{};
    ::GetCursorPos(&cursor);
    ::GetWindowRect(reference.window, &bounds);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kSecondTick: SecondTick(); return 0;
        case kFadeTick: FadeTick(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_DESTROY: ::PostQuitMessage(0); return 0;
        default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// Runs on a timer-queue thread: hands the tick to the window, like the meter.
void CALLBACK PostTick(void* message, BOOLEAN) {
    ::PostMessageW(reference.window, static_cast<UINT>(reinterpret_cast<UINT_PTR>(message)), 0, 0);
}

HANDLE StartTimer(UINT message, DWORD period) {
    HANDLE timer = nullptr;
    ::CreateTimerQueueTimer(&timer, nullptr, &PostTick, reinterpret_cast<void*>(static_cast<UINT_PTR>(message)), period,
                            period, WT_EXECUTEDEFAULT);
    return timer;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const bool fade = std::wcsstr(commandLine, L"fade") != nullptr;
    reference.unavoidable = std::wcsstr(commandLine, L"iphelper") == nullptr;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"OrvaletReferenceMeter";
    ::RegisterClassExW(&windowClass);
    RECT frame{0, 0, kWidth, kHeight};
    ::AdjustWindowRectEx(&frame, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
    reference.window = ::CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"Reference meter",
                                         WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 400, 32, frame.right - frame.left,
                                         frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (reference.unavoidable) {
        reference.pictureDC = ::CreateCompatibleDC(nullptr);
        ::SelectObject(reference.pictureDC, TopDownDib(kWidth, kHeight, &reference.pixels));
        reference.iconColor = TopDownDib(16, 16, &reference.iconPixels);
        const BYTE mask[32] = {};
        reference.iconMask = ::CreateBitmap(16, 16, 1, 1, mask);
        NOTIFYICONDATAW data = IconData(NIF_ICON | NIF_TIP);
        data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        ::Shell_NotifyIconW(NIM_ADD, &data);
        ::ShowWindow(reference.window, SW_SHOW);
    }

    StartTimer(kSecondTick, 1000);
    if (fade) StartTimer(kFadeTick, 25);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}
