#include "shell/meter/win32/main_window_win.h"

#include <windowsx.h>

#include <string_view>
#include <utility>

#include "base/error_handler.h"
#include "base/win32/dpi_win.h"
#include "rendering/win32/number_format_win.h"
#include "settings/options.h"
#include "settings/win32/options_dialog_win.h"
#include "shell/about/win32/about_box_win.h"
#include "shell/meter/graph_options.h"
#include "shell/meter/reentry_guard.h"
#include "shell/meter/win32/nested_loops_win.h"
#include "shell/meter/win32/window_cover_win.h"
#include "shell/meter/win32/window_placement_win.h"
#include "shell/resources/win32/resource_ids.h"
#include "shell/tray/tray_hint.h"

namespace orvalet::win32 {
namespace {

constexpr DWORD kInitialStyle = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kDesignLeft = 32;
constexpr int kDesignTop = 32;
constexpr int kDesignClientWidth = 320;
constexpr int kDesignClientHeight = 240;
constexpr UINT kMinimumMajorVersion = 6;
constexpr WPARAM kDragMoveCommand = SC_MOVE | HTCAPTION;  // 0xF012: move as if by the caption
constexpr std::uint32_t kSamplingPeriodMs = 1000;
constexpr std::uint32_t kEffectTimerPeriodMs = 25;

HICON LoadWindowIcon() {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ORVALET_IDI_MAIN),
                                           IMAGE_ICON, 16, 16, LR_SHARED));
}

// A disabled timer; its first tick comes a second after it is enabled.
std::unique_ptr<TTimerQueueTimer> MakeTimer(std::uint32_t period, TTimerQueueTimer::TNotifyEvent onTimer) {
    auto timer = std::make_unique<TTimerQueueTimer>();
    timer->SetPeriod(period);
    timer->SetOnTimer(std::move(onTimer));
    return timer;
}

}  // namespace

TOVL_Main::TOVL_Main(MainWindowServices services) : FServices(std::move(services)) {}

// The window goes first, while every member it reaches is still whole.
TOVL_Main::~TOVL_Main() { Destroy(); }

void TOVL_Main::CustomizeClass(WNDCLASSEXW& windowClass) {
    windowClass.hIcon = LoadWindowIcon();
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hbrBackground = nullptr;  // the graph paints the whole client area
}

bool TOVL_Main::Create() {
    RECT frame{0, 0, kDesignClientWidth, kDesignClientHeight};
    ::AdjustWindowRectEx(&frame, kInitialStyle, FALSE, kToolWindowExStyle);
    if (!CreateWindowHandle(kToolWindowExStyle, kApplicationTitle.data(), kInitialStyle, kDesignLeft, kDesignTop,
                            frame.right - frame.left, frame.bottom - frame.top))
        return false;
    FAppearance.Attach(Handle());
    FWindowIcon = LoadWindowIcon();
    FormCreate();
    return true;
}

// ---- Lifecycle -------------------------------------------------------------

void TOVL_Main::FormCreate() {
    if (!CheckOperatingSystem()) FServices.terminate();  // creation goes on; the loop ends at once

    SettingsPlatform& settings = *FServices.settings;
    LoadOptions(CurrentOptions, settings);
    CurrentOptions.RunOnStartup = QueryAutostart(settings.Registry());
    PendingOptions = CurrentOptions;

    PlaceWindowAt(Handle(), StoredWindowBounds(CurrentOptions));
    FDpi.Attach(Handle(), FSizeLimits);
    FitWindowToDesktop();

    // The notification-area icon is there from the start, before the first
    // tick gives it the gauge's picture.
    OVL_Tray = FServices.createTrayIcon(Handle(), WM_TRAYICON, FWindowIcon);

    FCollector = std::make_unique<TIPHLPCollector>(std::move(FServices.interfaceTable));
    FBuffer = std::make_unique<TTrafficBuffer>();
    FGauge = std::make_unique<TrayGaugeIcon>();
    FGauge->SetTrafficBuffer(FBuffer.get());
    FGauge->SetAutoScale(CurrentOptions.Autoscale);
    FitGaugeToNotificationArea(*FGauge);
    CreateGraph();

    if (!CurrentOptions.StartMinimized) ::ShowWindow(Handle(), SW_SHOW);
    UpdateMeterActions();

    CreateTimers();
    FAssembled = true;
    ApplyPendingOptions();

    PD_isbusy = false;
    PD_Timer->SetEnabled(true);
    // Fills the graph, the icon and its hint before the first timer tick.
    RunGuarded([this] { SamplingTick(); });
    if (std::exchange(FCloseCommandHeld, false)) WMSysCommand(SC_CLOSE, 0);
}

bool TOVL_Main::CheckOperatingSystem() {
    if (CheckOSVersion(kMinimumMajorVersion, *FServices.settings)) return true;
    FServices.showStartupError(Handle(), L"This application requires Windows Vista or newer!");
    return false;
}

void TOVL_Main::CreateGraph() {
    FGraph = std::make_unique<TrafficGraphControl>();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    FGraph->Create(Handle(), 0, 0, client.right, client.bottom);
    FGraph->SetOnMouseDown([this](MouseButton button, int x, int y) { GraphMouseDown(button, x, y); });
    FGraph->SetOnMouseUp([this](MouseButton button, int x, int y) { GraphMouseUp(button, x, y); });
    FGraph->Graph().SetTrafficBuffer(FBuffer.get());
    FGraph->Graph().SetAutoscale(CurrentOptions.Autoscale);
    FGraph->Paint();
}

void TOVL_Main::CreateTimers() {
    PD_Timer = MakeTimer(kSamplingPeriodMs, [this] { SamplingTick(); });
    FG_Timer = MakeTimer(kEffectTimerPeriodMs, [this] {
        // A step dispatched by a nested message loop while one runs is dropped.
        const ReentryGuard guard(FG_isbusy);
        if (guard.Entered()) CarryOut(FFader->FadeStep());
    });
    MF_Timer = MakeTimer(kEffectTimerPeriodMs, [this] { FFader->MouseFadeStep(); });
    // Enabled as the options say, but ticking only while a fade runs.
    FFader = std::make_unique<MeterFader>(Handle(), FAppearance, CurrentOptions, *FG_Timer, *MF_Timer);
}

void TOVL_Main::FormClose() {
    StoreWindowBounds(CurrentOptions, WindowBoundsOf(Handle()));  // also while the window is hidden
    SaveOptions(CurrentOptions, FServices.settings->Registry());
}

void TOVL_Main::FormDestroy() {
    FAssembled = false;
    FFader.reset();
    MF_Timer.reset();
    FG_Timer.reset();
    PD_Timer.reset();
    FGraph.reset();
    FGauge.reset();
    FBuffer.reset();
    FCollector.reset();
    OVL_Tray.reset();  // removes the icon from the notification area
}

// ---- Deferred commands -----------------------------------------------------

void TOVL_Main::PostDeferred(DeferredCommand command, POINT screenPoint) {
    ::PostMessageW(Handle(), WM_DEFERREDCOMMAND, static_cast<WPARAM>(command),
                   MAKELPARAM(screenPoint.x, screenPoint.y));
}

void TOVL_Main::RunDeferred(DeferredCommand command, LPARAM lParam) {
    switch (command) {
        case DeferredCommand::Close: CloseNow(); break;
        case DeferredCommand::PopupMenu: OpenPopupMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); break;
        case DeferredCommand::Options:
            RunActionDialog(ActionId::Options, [this](HWND owner) { RunOptionsDialog(owner); });
            break;
        case DeferredCommand::About:
            RunActionDialog(ActionId::About, [](HWND owner) { TOVL_About().ShowModal(owner); });
            break;
    }
}

// A close that arrives while a menu or box runs its own message loop ends
// them as if cancelled and follows once the outermost has returned: the
// window's parts must outlive the code that runs the loop.
void TOVL_Main::CloseNow() {
    if (!FLoops.ReadyToClose(Handle())) return;
    SaveOptionsOnce();
    Destroy();
}

void TOVL_Main::SaveOptionsOnce() {
    if (FLoops.TakeSave()) FormClose();
}

void TOVL_Main::RunActionDialog(ActionId action, const std::function<void(HWND owner)>& show) {
    // A disabled action does not run: its dialog may already be open.
    if (!OVL_Actions.State(action).enabled) return;
    OVL_Actions.SetEnabled(action, false);
    const bool steppedBack = FAppearance.TopMost();
    if (steppedBack) FAppearance.SetTopMost(false);
    FLoops.Run([&] { show(Handle()); });
    // Back to the state in force, which an apply from the dialog may have
    // changed.
    if (steppedBack) FAppearance.SetTopMost(CurrentOptions.AlwaysOnTop);
    OVL_Actions.SetEnabled(action, true);
}

// The dialog's Apply and its OK both run the ApplyOptions action.
void TOVL_Main::RunOptionsDialog(HWND owner) {
    OptionsDialogHost host;
    host.applyOptions = [this] { ApplyOptionsExecute(); };
    if (ShowOptionsDialog(owner, {CurrentOptions, PendingOptions}, host) == ModalResult::OK) ApplyOptionsExecute();
}

// ---- Sampling --------------------------------------------------------------

void TOVL_Main::SamplingTick() {
    // A tick dispatched by a nested message loop while one runs is dropped.
    const ReentryGuard guard(PD_isbusy);
    if (!guard.Entered()) return;

    FCollector->Update();
    FBuffer->Add(FCollector->Upload(), FCollector->Download());

    TTrafficGraph& graph = FGraph->Graph();
    if (!CurrentOptions.Autoscale) {
        // Link speeds are in bits per second, the history in bytes per tick.
        graph.SetMaxValue(FCollector->BandwidthTotal() / 8);
        FGauge->SetMaxValue(graph.MaxValue());
    }
    FCollector->GetMonitoredIFName(FInterfaceName);
    graph.SetIFLabel(FInterfaceName);

    // Only a changed picture is handed to the notification area; the tray
    // icon leaves out an unchanged hint itself.
    const HICON icon = FGauge->Icon();
    if (FGauge->IconChanged()) OVL_Tray->SetIcon(icon);
    // The rates are those of the graph's last paint, one tick behind the icon.
    BuildTrayHint(FTrayHint, graph.DLabel(), graph.ULabel(), graph.IFLabel());
    OVL_Tray->SetHint(FTrayHint);
    WriteGraphName(FGraphName, graph.RatesOfLabels(), graph.IFLabel());
    FGraph->SetAccessibleName(FGraphName);

    if (::IsWindowVisible(Handle())) UpdateSizeConstraints();
    // Drawn and copied to the screen only when the picture can have changed.
    FGraph->PaintIfChanged();
    // A hidden meter draws nothing, but the tray hint still follows the
    // traffic: its rate texts are rebuilt as a paint would have done.
    if (!graph.GraphEnabled()) graph.UpdateLabels();
}

void TOVL_Main::MonitoringError(TIPHLPCollector&, std::int32_t msg) {
    const std::wstring_view text = MonitoringErrorMessages(msg);
    if (!text.empty()) OVL_Tray->ShowBalloon(text);
}

// ---- Options ---------------------------------------------------------------

void TOVL_Main::ApplyPendingOptions() {
    CurrentOptions = PendingOptions;
    CurrentOptions.TransparencyValue = ClampTransparencyValue(CurrentOptions.TransparencyValue);
    const OVL_OptionsRecord& options = CurrentOptions;

    UpdateAutostart(options.RunOnStartup, *FServices.settings);
    FCollector->SetInterfaceToMonitor(options.MonitoredInterface);
    if (options.NotifyMonitoringProblems) {
        FCollector->SetOnMonitoringError(
            [this](TIPHLPCollector& sender, std::int32_t msg) { MonitoringError(sender, msg); });
    } else {
        FCollector->SetOnMonitoringError(nullptr);
    }

    FAppearance.ApplyWindowStyle(options.WindowStyle);
    UpdateSizeConstraints();
    FAppearance.ApplyEffects(options.AlwaysOnTop, options.TransparencyEnabled, options.TransparencyValue,
                             options.ClickThrough);
    orvalet::ApplyGraphOptions(options, FGraph->Graph());
    FGauge->SetAutoScale(options.Autoscale);
    FGraph->Paint();

    FFader->TakeCursorStateAsActedOn();
    UpdateEffectTimers();
}

// ---- Placement and size ----------------------------------------------------

void TOVL_Main::FitWindowToDesktop() { KeepWindowReachable(Handle(), FDpi.Margins()); }

void TOVL_Main::UpdateSizeConstraints() { FSizeLimits.Update(Handle(), FGraph ? FGraph->MaxWidth() : 0); }

// The graph's picture depends on its size, so it is drawn anew at once.
void TOVL_Main::OnSize() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    FGraph->SetBounds(0, 0, client.right, client.bottom);
    FGraph->Paint();
}

// The rate labels follow the user's decimal and thousands separators, and
// the meter stays within reach of a work area that shrank.
void TOVL_Main::OnSettingChange(WPARAM action, const wchar_t* area) {
    if (action == SPI_SETWORKAREA) KeepWindowReachable(Handle(), FDpi.Margins(), ReachArea::WorkArea);
    if (!area || std::wstring_view(area) != L"intl") return;
    InstallUserNumberFormat();
    FGraph->Paint();
}

// ---- DPI -------------------------------------------------------------------

// The meter went onto a monitor of another DPI, or its monitor's DPI changed.
void TOVL_Main::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    FDpi.TakeDpiChange(Handle(), wParam, lParam, *FGraph, FSizeLimits);
    OnSize();
    UpdateSizeConstraints();
    FitWindowToDesktop();
    UpdateTrayIconSize();
}

void TOVL_Main::UpdateTrayIconSize() {
    if (FitGaugeToNotificationArea(*FGauge)) OVL_Tray->SetIcon(FGauge->Icon());
}

// ---- Showing and hiding -------------------------------------------------

void TOVL_Main::ShowMeter() { CarryOut(FFader->ShowMeter()); }

void TOVL_Main::HideMeter() { CarryOut(FFader->HideMeter()); }

void TOVL_Main::CarryOut(const FadeOutcome& outcome) {
    if (outcome.showWindow) ShowMeterWindow();
    if (outcome.hideWindow) HideMeterWindow();
    if (!outcome.actionsChanged) return;
    if (ShowsOrHides(FFader->State()))
        DisableMeterActions();
    else
        UpdateMeterActions();
}

void TOVL_Main::ShowMeterWindow() {
    FitWindowToDesktop();
    ::ShowWindow(Handle(), SW_SHOW);
    UpdateEffectTimers();
    ::SetForegroundWindow(Handle());
    FGraph->Graph().SetGraphEnabled(true);
    FGraph->Paint();
}

void TOVL_Main::HideMeterWindow() {
    FGraph->HideReadout();
    ::ShowWindow(Handle(), SW_HIDE);
    UpdateEffectTimers();
    FGraph->Graph().SetGraphEnabled(false);
}

void TOVL_Main::UpdateMeterActions() { OVL_Actions.UpdateMeterActions(::IsWindowVisible(Handle()) != FALSE); }

void TOVL_Main::DisableMeterActions() { OVL_Actions.DisableMeterActions(); }

void TOVL_Main::UpdateEffectTimers() { CarryOut(FFader->UpdateTimers()); }

// ---- Power -----------------------------------------------------------------

void TOVL_Main::SuspendTimers() {
    const TimerStates running{PD_Timer->Enabled(), FG_Timer->Enabled(), MF_Timer->Enabled()};
    if (const auto states = FSuspension.SuspendTimers(running)) SetTimerStates(*states);
}

void TOVL_Main::ResumeTimers() {
    if (const auto states = FSuspension.ResumeTimers()) SetTimerStates(*states);
}

void TOVL_Main::SetTimerStates(const TimerStates& states) {
    PD_Timer->SetEnabled(states.sampling);
    FG_Timer->SetEnabled(states.fade);
    MF_Timer->SetEnabled(states.mouseFade);
}

LRESULT TOVL_Main::WMPowerBroadcast(WPARAM wParam, LPARAM lParam) {
    switch (ClassifyPowerBroadcast(wParam)) {
        case PowerEvent::Suspend: SuspendTimers(); break;
        case PowerEvent::Resume: ResumeTimers(); break;
        case PowerEvent::None: break;
    }
    return DefaultHandling(WM_POWERBROADCAST, wParam, lParam);
}

// The close button and Alt+F4 send the meter to the tray when it is set to
// close there. The low four bits of the command are the system's own.
LRESULT TOVL_Main::WMSysCommand(WPARAM wParam, LPARAM lParam) {
    if ((wParam & 0xFFF0) == SC_CLOSE && CurrentOptions.CloseToTray) {
        HideMeter();
        return 0;
    }
    return DefaultHandling(WM_SYSCOMMAND, wParam, lParam);
}

// ---- Mouse, menu and tray --------------------------------------------------

void TOVL_Main::GraphMouseDown(MouseButton button, int, int) {
    if (button != MouseButton::Left) return;
    ::ReleaseCapture();
    ::SendMessageW(Handle(), WM_SYSCOMMAND, kDragMoveCommand, 0);
}

void TOVL_Main::GraphMouseUp(MouseButton button, int x, int y) {
    if (button != MouseButton::Right) return;
    ::ReleaseCapture();
    // The menu opens where the user clicked.
    POINT point{x, y};
    ::ClientToScreen(FGraph->Handle(), &point);
    PostDeferred(DeferredCommand::PopupMenu, point);
}

void TOVL_Main::OpenPopupMenu(POINT screenPoint) {
    unsigned command = kNoMenuCommand;
    FLoops.Run([&] {
        const TrayPopupMenu menu = OVL_PopupMenuPopup(MonitorDpiAt(screenPoint, FDpi.Dpi()));
        command = FServices.trackPopupMenu(MenuOwner(), menu.Handle(), screenPoint);
    });
    RunMenuCommand(command);
}

HWND TOVL_Main::MenuOwner() {
    if (!FMenuOwner) FMenuOwner = CreateMenuOwnerWindow();
    return FMenuOwner ? FMenuOwner.get() : Handle();
}

TrayPopupMenu TOVL_Main::OVL_PopupMenuPopup(UINT dpi) {
    ifl = FCollector->GetInterfaceList(CurrentOptions.ListEnabledHardwareInterfacesOnly);
    return TrayPopupMenu(BuildTrayMenuEntries(OVL_Actions),
                         BuildInterfaceSubMenu(ifl, FCollector->InterfaceToMonitor()),
                         ActionImageList(Instance(), dpi));
}

void TOVL_Main::RunMenuCommand(unsigned command) {
    switch (command) {
        case kNoMenuCommand: break;
        case kShowMeterCommand: ShowMeterActionExecute(); break;
        case kHideMeterCommand: HideMeterActionExecute(); break;
        case kOptionsCommand: OptionsExecute(); break;
        case kAboutCommand: AboutExecute(); break;
        case kExitProgramCommand: ExitProgramExecute(); break;
        default: SelectInterfaceFromPopup(command, ifl, PendingOptions, CurrentOptions, *FCollector); break;
    }
}

void TOVL_Main::OVL_TrayClick() {
    const bool shown = ::IsWindowVisible(Handle()) != FALSE;
    switch (DecideTrayClick(shown, shown && IsWindowCovered(Handle()))) {
        case TrayClickAction::ShowMeter:
            ShowMeterActionExecute();
            ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            break;
        case TrayClickAction::RaiseMeter: ::SetForegroundWindow(Handle()); break;
        case TrayClickAction::HideMeter: HideMeterActionExecute(); break;
    }
}

void TOVL_Main::OnTrayIcon(WPARAM wParam, LPARAM lParam) {
    const TrayIconNotification notification = TrayIcon::DecodeCallback(wParam, lParam);
    if (notification.event == TrayIconEvent::Click) OVL_TrayClick();
    if (notification.event == TrayIconEvent::ContextMenu)
        PostDeferred(DeferredCommand::PopupMenu, notification.anchor);
}

// ---- Messages --------------------------------------------------------------

LRESULT TOVL_Main::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // the graph covers the client area; erasing would only flicker
        case WM_GETMINMAXINFO: FSizeLimits.ApplyTo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
        case WM_CLOSE:
            // Sent by another thread or process, it may arrive while a tick
            // waits inside a call to the system.
            PostDeferred(DeferredCommand::Close);
            return 0;
        case WM_SYSCOMMAND:
            // Windows' close command before the meter is assembled waits for
            // it: the close-to-tray option decides then. During destruction
            // it is moot.
            if (!FAssembled && (wParam & 0xFFF0) == SC_CLOSE) {
                FCloseCommandHeld = true;
                return 0;
            }
            break;
        case WM_DESTROY:
            FormDestroy();
            FServices.terminate();
            return 0;
        default: break;
    }
    // While a call to the system waits, another thread or process may send
    // the window a message: during the parts' creation and destruction too,
    // when some are missing. Then it gets the default handling.
    if (!FAssembled) return DefaultHandling(message, wParam, lParam);
    return HandleMeterMessage(message, wParam, lParam);
}

LRESULT TOVL_Main::HandleMeterMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TrayIcon::TaskbarCreatedMessage() && message != 0) {
        UpdateTrayIconSize();
        OVL_Tray->Reinstate();
        return 0;
    }
    switch (message) {
        case WM_TRAYICON: OnTrayIcon(wParam, lParam); return 0;
        case WM_DEFERREDCOMMAND: RunDeferred(static_cast<DeferredCommand>(wParam), lParam); return 0;
        case WM_SYSCOMMAND: return WMSysCommand(wParam, lParam);
        case WM_POWERBROADCAST: return WMPowerBroadcast(wParam, lParam);
        case WM_SIZE: OnSize(); return 0;
        // The move and size loop and the system menu run inside the handler
        // that started them, a drag by the graph among them.
        case WM_ENTERSIZEMOVE:
        case WM_ENTERMENULOOP:
            FLoops.Entered();
            return DefaultHandling(message, wParam, lParam);
        case WM_EXITSIZEMOVE:
        case WM_EXITMENULOOP:
            FLoops.Left();
            return DefaultHandling(message, wParam, lParam);
        case WM_SETTINGCHANGE:
            UpdateTrayIconSize();
            OnSettingChange(wParam, reinterpret_cast<const wchar_t*>(lParam));
            return 0;
        // A monitor unplugged or rearranged may leave the meter out of reach.
        case WM_DISPLAYCHANGE:
            FitWindowToDesktop();
            return DefaultHandling(message, wParam, lParam);
        case kDpiChangedMessage: OnDpiChanged(wParam, lParam); return 0;
        case WM_ENDSESSION:
            // Only a session that really ends takes the meter with it; a
            // cancelled logoff leaves it running. The process may end as soon
            // as this returns, so the options are saved here.
            if (wParam) {
                SaveOptionsOnce();
                PostDeferred(DeferredCommand::Close);
            }
            return 0;
        default: return DefaultHandling(message, wParam, lParam);
    }
}

}  // namespace orvalet::win32
