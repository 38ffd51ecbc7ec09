// Orvalet's entry point: one meter per desktop, wired to the real system.
#include <windows.h>

#include <memory>
#include <string>

#include "base/error_handler.h"
#include "base/win32/held_quit_win.h"
#include "base/win32/system_function_win.h"
#include "rendering/win32/number_format_win.h"
#include "sampling/win32/interface_table_win.h"
#include "settings/options.h"
#include "settings/win32/settings_platform_win.h"
#include "shell/meter/reentry_guard.h"
#include "shell/meter/win32/main_window_win.h"

namespace {

using namespace orvalet;

// Errors that reach an event boundary are shown to the user. A failure that
// repeats every tick would otherwise stack one box on the next while the
// first is open, so only one is shown at a time. The box stays until the
// user closes it, also when it reports a start that failed after the end
// of the program was already requested.
void ShowError(const std::wstring& message) {
    static bool showing = false;
    const ReentryGuard guard(showing);
    if (!guard.Entered()) return;
    const win32::HeldQuit heldQuit;
    ::MessageBoxW(nullptr, message.c_str(), std::wstring(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
}

int RunMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

int RunMeter() {
    SetErrorHandler(&ShowError);
    win32::InstallUserNumberFormat();

    win32::MainWindowServices services;
    services.interfaceTable = std::make_unique<win32::IpHelperInterfaceTable>();
    services.settings = &win32::SystemSettings();
    win32::TOVL_Main meter(std::move(services));
    if (!meter.Create()) return 0;
    return RunMessageLoop();
}

}  // namespace

// No command line is read; every normal way out ends with exit code 0.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    orvalet::win32::LoadLibrariesFromSystemDirectoryOnly();
    // A meter already running on this desktop, shown or hidden, is left alone.
    if (::FindWindowW(orvalet::win32::MAIN_WINDOW_CLASS, nullptr)) return 0;
    int exitCode = 0;
    // An exception that escapes start-up has been shown; it is no normal end.
    if (!orvalet::RunGuarded([&] { exitCode = RunMeter(); })) return 1;
    return exitCode;
}
