// A helper for the end-to-end test of Orvalet.exe: looks for the meter's
// window by its class and, on request, closes it the way Windows closes a
// window, so the meter saves its settings.
//   window_probe exists   exit code 0 when a meter window exists, 1 otherwise
//   window_probe close    sends it WM_CLOSE; exit code 0 when there was one
//   window_probe alpha    prints the layered window's alpha; exit code 1
//                         when the window is not layered
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "shell/win32/main_window_win.h"

int main(int argc, char** argv) {
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
    return 2;
}
