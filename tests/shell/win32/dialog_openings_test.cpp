// Fifty openings of the about box and fifty of the options dialog, from the
// real meter window, leave the process as they found it: its handles, its
// GDI and USER objects and the project's live icons, bitmaps, fonts and DCs.
// This journey runs in process, unlike the others in tests/shell/e2e: under
// Wine, GetGuiResources reads 0 and each process keeps its GDI handle table
// to itself, so only the process itself can count its GDI objects. The
// dialogs run under Orvalet.exe's manifest, with the common controls of
// version 6, whose static control copies a picture with alpha.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "base/win32/base_window.h"
#include "settings/win32/options_dialog_win.h"
#include "shell/meter/win32/main_window_win.h"
#include "support/main_window_probe.h"
#include "support/meter_sandbox_win.h"
#include "support/process_objects_win.h"

namespace orvalet::win32 {
namespace {

using testing::ProcessObjects;

constexpr wchar_t kRoot[] = L"Software\\OrvaletTests\\DialogOpenings";
constexpr int kOpenings = 50;

// A hidden window that cancels the box the meter opens. Its message, posted
// after the meter's command, runs in the box's own loop before the box is
// first shown, so the box is never drawn (nor waited for as it goes).
class BoxCanceller final : public BaseWindow<BoxCanceller> {
public:
    static const wchar_t* ClassName() { return L"OrvaletTestBoxCanceller"; }
    BoxCanceller() { CreateWindowHandle(0, L"", WS_POPUP, 0, 0, 0, 0); }

    // True when the box opened and closed again.
    bool OpenAndCancel(HWND meter, DeferredCommand command, const wchar_t* caption, WPARAM cancel) {
        caption_ = caption;
        cancel_ = cancel;
        cancelled_ = false;
        ::PostMessageW(meter, WM_DEFERREDCOMMAND, static_cast<WPARAM>(command), 0);
        ::PostMessageW(Handle(), WM_APP, 0, 0);
        PumpMessages();
        return cancelled_ && !::FindWindowW(L"#32770", caption);
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP) return DefaultHandling(message, wParam, lParam);
        if (const HWND box = ::FindWindowW(L"#32770", caption_)) {
            cancelled_ = true;
            ::PostMessageW(box, WM_COMMAND, cancel_, 0);
        } else if (wParam < kAttempts) {
            ::PostMessageW(Handle(), WM_APP, wParam + 1, 0);  // not open yet: look again
        }
        return 0;
    }

private:
    static constexpr WPARAM kAttempts = 20;
    const wchar_t* caption_ = nullptr;
    WPARAM cancel_ = 0;
    bool cancelled_ = false;
};

// The activation context of Orvalet.exe's manifest, active on this thread
// while it lives.
class ProgramManifest {
public:
    ProgramManifest() {
        ACTCTXW context{};
        context.cbSize = sizeof context;
        context.lpSource = L"" ORVALET_PROGRAM_MANIFEST;
        context_ = ::CreateActCtxW(&context);
        active_ = context_ != INVALID_HANDLE_VALUE && ::ActivateActCtx(context_, &cookie_);
    }
    ~ProgramManifest() {
        if (active_) ::DeactivateActCtx(0, cookie_);
        if (context_ != INVALID_HANDLE_VALUE) ::ReleaseActCtx(context_);
    }
    ProgramManifest(const ProgramManifest&) = delete;
    ProgramManifest& operator=(const ProgramManifest&) = delete;
    bool Active() const { return active_; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

TEST(DialogOpenings, FiftyOpeningsOfEachBoxLeaveTheProcessObjectsFlat) {
    const ProgramManifest manifest;
    ASSERT_TRUE(manifest.Active());
    testing::MeterSandbox sandbox(kRoot);
    sandbox.Store(L"StartMinimized", 1);  // a hidden meter: nothing needs drawing
    auto meter = std::make_unique<TOVL_Main>(sandbox.Services());
    ASSERT_TRUE(meter->Create());
    MainWindowProbe::SamplingTimer(*meter).SetEnabled(false);
    const HWND window = meter->Handle();
    BoxCanceller canceller;
    const struct {
        const char* name;
        DeferredCommand command;
        const wchar_t* caption;
        WPARAM cancel;
    } boxes[] = {
        {"about box", DeferredCommand::About, L"About Orvalet", IDCANCEL},
        {"options dialog", DeferredCommand::Options, L"Orvalet Options",
         MAKEWPARAM(static_cast<int>(OptionsControl::CancelBtn), BN_CLICKED)},
    };
    // Wine makes each system colour's brush the first time it is asked for,
    // and keeps it: the boxes' frames ask for some of them only later.
    for (int color = COLOR_SCROLLBAR; color <= COLOR_MENUBAR; ++color) ::GetSysColorBrush(color);
    for (const auto& box : boxes) {
        const auto open = [&] { return canceller.OpenAndCancel(window, box.command, box.caption, box.cancel); };
        // The first opening loads the libraries and fills the system's caches.
        ASSERT_TRUE(open()) << "the " << box.name << " did not open and close";
        const ProcessObjects before = ProcessObjects::Now();
        for (int opening = 1; opening <= kOpenings; ++opening)
            ASSERT_TRUE(open()) << "the " << box.name << " did not open and close, opening " << opening;
        EXPECT_EQ(ProcessObjects::Now(), before) << "after " << kOpenings << " more openings of the " << box.name;
    }
    meter.reset();
    PumpMessages();
}

}  // namespace
}  // namespace orvalet::win32
