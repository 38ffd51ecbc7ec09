#include "shell/win32/main_window_win.h"

#include <windowsx.h>

#include <string_view>
#include <utility>

#include "base/error_handler.h"
#include "rendering/win32/number_format_win.h"
#include "settings/options.h"
#include "shell/reentry_guard.h"
#include "shell/tray_hint.h"
#include "shell/win32/abort_message_box_win.h"
#include "shell/win32/desktop_geometry_win.h"
#include "shell/win32/popup_menu_win.h"
#include "shell/win32/resource_ids.h"

namespace orvalet::win32 {
namespace {

constexpr DWORD kSizeableToolWindowStyle = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kSizeableToolWindowExStyle = WS_EX_TOOLWINDOW;  // no taskbar button
constexpr int kDesignLeft = 32;
constexpr int kDesignTop = 32;
constexpr int kDesignClientWidth = 320;
constexpr int kDesignClientHeight = 240;
constexpr UINT kMinimumMajorVersion = 6;
constexpr WPARAM kDragMoveCommand = SC_MOVE | HTCAPTION;  // 0xF012: move as if by the caption

HICON LoadWindowIcon() {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ORVALET_IDI_MAIN),
                                           IMAGE_ICON, 16, 16, LR_SHARED));
}

}  // namespace

TOVL_Main::TOVL_Main(MainWindowServices services) : services_(std::move(services)) {
    if (!services_.createTrayIcon) {
        services_.createTrayIcon = [](HWND owner, UINT callbackMessage, HICON icon) {
            return std::make_unique<TTrayIcon>(owner, callbackMessage, icon);
        };
    }
    if (!services_.showStartupError) {
        services_.showStartupError = [](HWND owner, const std::wstring& text) {
            ShowAbortMessageBox(owner, text, std::wstring(kApplicationTitle));
        };
    }
    if (!services_.terminate) services_.terminate = [] { ::PostQuitMessage(0); };
    if (!services_.trackPopupMenu) services_.trackPopupMenu = &TrackPopupMenuAt;
}

// The window goes first, while every member it reaches is still whole.
TOVL_Main::~TOVL_Main() { Destroy(); }

void TOVL_Main::CustomizeClass(WNDCLASSEXW& windowClass) {
    windowClass.hIcon = LoadWindowIcon();
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hbrBackground = nullptr;  // the graph paints the whole client area
}

bool TOVL_Main::Create() {
    RECT frame{0, 0, kDesignClientWidth, kDesignClientHeight};
    ::AdjustWindowRectEx(&frame, kSizeableToolWindowStyle, FALSE, kSizeableToolWindowExStyle);
    if (!CreateWindowHandle(kSizeableToolWindowExStyle, kApplicationTitle.data(), kSizeableToolWindowStyle,
                            kDesignLeft, kDesignTop, frame.right - frame.left, frame.bottom - frame.top))
        return false;
    windowIcon_ = LoadWindowIcon();
    FormCreate();
    return true;
}

// ---- Lifecycle -------------------------------------------------------------

void TOVL_Main::FormCreate() {
    if (!CheckOperatingSystem()) services_.terminate();  // creation goes on; the loop ends at once

    SettingsPlatform& settings = *services_.settings;
    LoadOptions(CurrentOptions, settings);
    CurrentOptions.RunOnStartup = QueryAutostart(settings.Registry());
    PendingOptions = CurrentOptions;

    PlaceWindowFromOptions();
    FitWindowToDesktop();

    // The notification-area icon is there from the start, before the first
    // tick gives it the gauge's picture.
    OVL_Tray = services_.createTrayIcon(Handle(), WM_TRAYICON, windowIcon_);

    collector_ = std::make_unique<TIPHLPCollector>(std::move(services_.interfaceTable));
    buffer_ = std::make_unique<TTrafficBuffer>();
    gauge_ = std::make_unique<TTrayIconGauge>();
    gauge_->SetTrafficBuffer(buffer_.get());
    gauge_->SetAutoScale(CurrentOptions.Autoscale);
    CreateGraph();

    if (!CurrentOptions.StartMinimized) ::ShowWindow(Handle(), SW_SHOW);
    UpdateMeterActions();

    CreateTimers();
    TimersSuspended = false;
    ApplyPendingOptions();

    PD_isbusy = false;
    PD_Timer->SetEnabled(true);
    // Fills the graph, the icon and its hint before the first timer tick.
    RunGuarded([this] { SamplingTick(); });
}

bool TOVL_Main::CheckOperatingSystem() {
    if (CheckOSVersion(kMinimumMajorVersion, *services_.settings)) return true;
    services_.showStartupError(Handle(), L"This application requires Windows Vista or newer!");
    return false;
}

void TOVL_Main::PlaceWindowFromOptions() {
    SetBounds({CurrentOptions.WindowLeft, CurrentOptions.WindowTop, CurrentOptions.WindowWidth,
               CurrentOptions.WindowHeight});
}

void TOVL_Main::CreateGraph() {
    graph_ = std::make_unique<TrafficGraphControl>();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    graph_->Create(Handle(), 0, 0, client.right, client.bottom);
    graph_->SetOnMouseDown([this](MouseButton button, int x, int y) { GraphMouseDown(button, x, y); });
    graph_->SetOnMouseUp([this](MouseButton button, int x, int y) { GraphMouseUp(button, x, y); });
    graph_->Graph().SetTrafficBuffer(buffer_.get());
    graph_->Graph().SetAutoscale(CurrentOptions.Autoscale);
    graph_->Paint();
}

void TOVL_Main::CreateTimers() {
    PD_Timer = std::make_unique<TTimerQueueTimer>();
    PD_Timer->SetOnTimer([this] { SamplingTick(); });

    // The fading timers tick every 25 ms once the effects are switched on.
    FG_Timer = std::make_unique<TTimerQueueTimer>();
    FG_Timer->SetPeriod(25);
    FG_Type = 0;
    FG_active = false;
    MF_Timer = std::make_unique<TTimerQueueTimer>();
    MF_Timer->SetPeriod(25);
}

void TOVL_Main::FormClose() {
    const WindowBounds bounds = Bounds();  // also while the window is hidden
    CurrentOptions.WindowLeft = bounds.left;
    CurrentOptions.WindowTop = bounds.top;
    CurrentOptions.WindowWidth = bounds.width;
    CurrentOptions.WindowHeight = bounds.height;
    SaveOptions(CurrentOptions, services_.settings->Registry());
}

void TOVL_Main::FormDestroy() {
    MF_Timer.reset();
    FG_Timer.reset();
    PD_Timer.reset();
    graph_.reset();
    gauge_.reset();
    buffer_.reset();
    collector_.reset();
    OVL_Tray.reset();  // removes the icon from the notification area
}

void TOVL_Main::ExitProgramExecute() { ::SendMessageW(Handle(), WM_CLOSE, 0, 0); }

// ---- Sampling --------------------------------------------------------------

void TOVL_Main::SamplingTick() {
    // A tick dispatched by a nested message loop while one runs is dropped.
    const ReentryGuard guard(PD_isbusy);
    if (!guard.Entered()) return;

    collector_->Update();
    buffer_->Add(collector_->Upload(), collector_->Download());

    TTrafficGraph& graph = graph_->Graph();
    if (!CurrentOptions.Autoscale) {
        // Link speeds are in bits per second, the history in bytes per tick.
        graph.SetMaxValue(collector_->BandwidthTotal() / 8);
        gauge_->SetMaxValue(graph.MaxValue());
    }
    graph.SetIFLabel(collector_->GetMonitoredIFName());

    OVL_Tray->SetIcon(gauge_->Icon());
    // The rates are those of the graph's last paint, one tick behind the icon.
    OVL_Tray->SetHint(BuildTrayHint(graph.DLabel(), graph.ULabel(), graph.IFLabel()));

    if (::IsWindowVisible(Handle())) UpdateSizeConstraints();
    graph_->Paint();
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
    const OVL_OptionsRecord& options = CurrentOptions;

    collector_->SetInterfaceToMonitor(options.MonitoredInterface);
    if (options.NotifyMonitoringProblems) {
        collector_->SetOnMonitoringError(
            [this](TIPHLPCollector& sender, std::int32_t msg) { MonitoringError(sender, msg); });
    } else {
        collector_->SetOnMonitoringError(nullptr);
    }

    UpdateSizeConstraints();
    SetTopMost(options.AlwaysOnTop);
    ApplyGraphOptions();
    gauge_->SetAutoScale(options.Autoscale);
    graph_->Paint();
}

void TOVL_Main::ApplyGraphOptions() {
    const OVL_OptionsRecord& options = CurrentOptions;
    TTrafficGraph& graph = graph_->Graph();
    graph.SetAutoscale(options.Autoscale);
    graph.SetShowUDLabel(options.ShowUDValues);
    graph.SetShowMVLabel(options.ShowMaxValue);
    graph.SetShowIFLabel(options.ShowIFName);
    graph.SetUseGradient(options.Gradient);
    graph.SetShowHorGrid(options.ShowHorGrid);
    graph.SetGraphVertGrid(options.VertGrid);
    graph.SetDisplayAverage(options.DisplayAverageValues);
    graph.SetLabelFonts(options.Fonts);
    graph.SetFontAutosize(options.FontAutosize);
    graph.SetColors(options.Colors);
    graph.SetUDDisplayUnit(options.UDDisplayUnit);
    graph.SetMVDisplayUnit(options.MVDisplayUnit);
}

void TOVL_Main::SetTopMost(bool topMost) {
    ::SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Placement and size ----------------------------------------------------

WindowBounds TOVL_Main::Bounds() const {
    RECT rect{};
    ::GetWindowRect(Handle(), &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TOVL_Main::SetBounds(const WindowBounds& bounds) {
    ::SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TOVL_Main::FitWindowToDesktop() {
    const WindowBounds current = Bounds();
    const WindowBounds fitted = orvalet::FitWindowToDesktop(current, QueryDesktopGeometry());
    if (fitted != current) SetBounds(fitted);
}

void TOVL_Main::UpdateSizeConstraints() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const WindowBounds bounds = Bounds();
    sizeLimits_ = ComputeSizeLimits(kMinimumWindowSize, graph_ ? graph_->MaxWidth() : 0, bounds.width,
                                    client.right - client.left);
    const WindowBounds clamped = ClampToSizeLimits(bounds, sizeLimits_);
    if (clamped != bounds) SetBounds(clamped);
}

void TOVL_Main::OnGetMinMaxInfo(MINMAXINFO& info) const {
    info.ptMinTrackSize.x = sizeLimits_.minWidth;
    info.ptMinTrackSize.y = sizeLimits_.minHeight;
    if (sizeLimits_.maxWidth > 0) info.ptMaxTrackSize.x = sizeLimits_.maxWidth;
}

void TOVL_Main::OnSize() {
    if (!graph_) return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    graph_->SetBounds(0, 0, client.right, client.bottom);
}

// The rate labels follow the user's decimal and thousands separators.
void TOVL_Main::OnSettingChange(const wchar_t* area) {
    if (!area || std::wstring_view(area) != L"intl") return;
    InstallUserNumberFormat();
    if (graph_) graph_->Paint();
}

// ---- Showing and hiding ----------------------------------------------------

void TOVL_Main::ShowMeterWindow() {
    FitWindowToDesktop();
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    graph_->Graph().SetGraphEnabled(true);
    graph_->Paint();
}

void TOVL_Main::HideMeterWindow() {
    ::ShowWindow(Handle(), SW_HIDE);
    graph_->Graph().SetGraphEnabled(false);
}

void TOVL_Main::UpdateMeterActions() { meterActions_ = MeterActionsFor(::IsWindowVisible(Handle()) != FALSE); }

// ---- Mouse, menu and tray --------------------------------------------------

void TOVL_Main::GraphMouseDown(MouseButton button, int, int) {
    if (button != MouseButton::Left) return;
    ::ReleaseCapture();
    ::SendMessageW(Handle(), WM_SYSCOMMAND, kDragMoveCommand, 0);
}

void TOVL_Main::GraphMouseUp(MouseButton button, int x, int y) {
    if (button != MouseButton::Right) return;
    ::ReleaseCapture();
    // The menu opens where the user clicked. (Adding the graph point to the
    // window's outer corner would ignore the frame and caption and open it up
    // and to the left of the cursor.)
    POINT point{x, y};
    ::ClientToScreen(graph_->Handle(), &point);
    OpenPopupMenu(point);
}

void TOVL_Main::OpenPopupMenu(POINT screenPoint) {
    RunMenuCommand(services_.trackPopupMenu(Handle(), screenPoint, BuildPopupMenuEntries(meterActions_)));
}

void TOVL_Main::RunMenuCommand(MenuCommand command) {
    switch (command) {
        case MenuCommand::ShowMeter:
            ShowMeterWindow();
            UpdateMeterActions();
            break;
        case MenuCommand::HideMeter:
            HideMeterWindow();
            UpdateMeterActions();
            break;
        case MenuCommand::ExitProgram:
            ExitProgramExecute();
            break;
        case MenuCommand::None:
            break;
    }
}

void TOVL_Main::OnTrayIcon(WPARAM wParam, LPARAM lParam) {
    const TrayIconNotification notification = TTrayIcon::DecodeCallback(wParam, lParam);
    if (notification.event == TrayIconEvent::ContextMenu) OpenPopupMenu(notification.anchor);
}

// ---- Messages --------------------------------------------------------------

LRESULT TOVL_Main::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTrayIcon::TaskbarCreatedMessage() && message != 0) {
        if (OVL_Tray) OVL_Tray->Reinstate();
        return 0;
    }
    switch (message) {
        case WM_TRAYICON:
            OnTrayIcon(wParam, lParam);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the graph covers the client area; erasing would only flicker
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_SETTINGCHANGE:
            OnSettingChange(reinterpret_cast<const wchar_t*>(lParam));
            return 0;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_CLOSE:
            FormClose();
            Destroy();
            return 0;
        case WM_ENDSESSION:
            // Only a session that really ends takes the meter with it; a
            // cancelled logoff leaves it running.
            if (wParam) ExitProgramExecute();
            return 0;
        case WM_DESTROY:
            FormDestroy();
            services_.terminate();
            return 0;
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

}  // namespace orvalet::win32
