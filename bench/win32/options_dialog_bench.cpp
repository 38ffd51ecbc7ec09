// Opening the options dialog: creating every control, enumerating the
// installed fonts and filling the lists, up to the moment the dialog would
// first be shown, where it is closed again. Mapping the window on the X
// server under Wine takes longer than all of that and is left out.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "base/win32/base_window.h"
#include "harness.h"
#include "rendering/win32/surface_win.h"
#include "settings/options.h"
#include "settings/win32/options_dialog_win.h"

namespace {

using namespace orvalet::win32;

// The owner; a message posted to it is handled inside the dialog's modal
// loop before the dialog shows, and closes the dialog.
class ClosingOwner final : public BaseWindow<ClosingOwner> {
public:
    static const wchar_t* ClassName() { return L"OrvaletBenchDialogOwner"; }
    ClosingOwner() { CreateWindowHandle(0, L"owner", WS_POPUP, 100, 100, 200, 100); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP) return DefaultHandling(message, wParam, lParam);
        if (const HWND dialog = ::FindWindowW(L"#32770", L"Orvalet Options")) ::SendMessageW(dialog, WM_CLOSE, 0, 0);
        return 0;
    }
};

// With the installed fonts and the system's colour dialog, as the program opens it.
void OpenAndClose() {
    static ClosingOwner owner;
    static const OptionsDialogHost host;
    static const orvalet::OVL_OptionsRecord inForce;
    static orvalet::OVL_OptionsRecord edited;
    ::PostMessageW(owner.Handle(), WM_APP, 0, 0);
    ShowOptionsDialog(owner.Handle(), {inForce, edited}, host);
}

// The first opening in a process also loads and registers the controls'
// classes. It is timed once, while the program starts, in the harness's
// format; the cases below run warm.
const bool firstOpenTimed = [] {
    const auto start = std::chrono::steady_clock::now();
    OpenAndClose();
    const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    std::printf("%-48s %14.1f ns %12d iterations\n", "OptionsDialog_FirstOpen", took.count(), 1);
    return true;
}();

}  // namespace

ORVALET_WIN_BENCH(OptionsDialog_OpenWithFontEnumeration) {
    for (std::size_t i = 0; i < iterations; ++i) OpenAndClose();
}

ORVALET_WIN_BENCH(OptionsDialog_InstalledFontNames) {
    for (std::size_t i = 0; i < iterations; ++i) orvalet::bench::KeepAlive(InstalledFontNames());
}
