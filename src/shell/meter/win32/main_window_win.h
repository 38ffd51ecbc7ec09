#pragma once
// The meter window: a small resizable tool window whose whole client area is
// the traffic graph. It is the composition root of the running meter: it
// owns the collector, the traffic history, the tray icon and its gauge, the
// graph and the three timers, and routes every message to the unit that
// handles it: the window's own in HandleMessage, those that reach the meter's
// parts in HandleMeterMessage.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/base_window.h"
#include "base/win32/unique_handle.h"
#include "rendering/win32/traffic_graph_control_win.h"
#include "rendering/win32/tray_icon_gauge_win.h"
#include "sampling/collector.h"
#include "sampling/traffic_buffer.h"
#include "shell/meter/timer_suspension.h"
#include "shell/meter/win32/main_window_services_win.h"
#include "shell/meter/win32/meter_dpi_win.h"
#include "shell/meter/win32/meter_fader_win.h"
#include "shell/meter/win32/nested_loops_win.h"
#include "shell/meter/win32/window_appearance_win.h"
#include "shell/meter/win32/window_placement_win.h"
#include "shell/timer/win32/timer_queue_timer_win.h"
#include "shell/tray/actions.h"
#include "shell/tray/tray_hint.h"
#include "shell/tray/tray_menu.h"
#include "shell/tray/win32/tray_icon_win.h"
#include "shell/tray/win32/tray_menu_win.h"

namespace orvalet::win32 {

// The main window's class name; a window of this class is also the sign
// that the program already runs on this desktop.
inline constexpr wchar_t MAIN_WINDOW_CLASS[] = L"{DC1AE7EC-27A6-44FC-B347-FCF2E2902F2F}";

// The tray icon's mouse events arrive as this message.
inline constexpr UINT WM_TRAYICON = WM_APP + 1;
// A command the window posts to itself (WPARAM: DeferredCommand, LPARAM: a
// screen point for the menus).
inline constexpr UINT WM_DEFERREDCOMMAND = WM_APP + 2;

// The window is never narrower or lower than this, in pixels.
inline constexpr int kMinimumWindowSize = 32;

// What runs only from the window's own posted message, never inside a tick
// or a message another thread or process sent: closing the program, and
// everything that runs a nested message loop.
enum class DeferredCommand : WPARAM {
    Close = 1,
    PopupMenu = 2,
    Options = 3,
    About = 4,
};

class TOVL_Main final : public BaseWindow<TOVL_Main> {
public:
    explicit TOVL_Main(MainWindowServices services);
    ~TOVL_Main() override;

    // Creates the window and everything it owns, applies the options and
    // samples once. False only when the system refuses the window.
    bool Create();

    static const wchar_t* ClassName() { return MAIN_WINDOW_CLASS; }
    static void CustomizeClass(WNDCLASSEXW& windowClass);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // One sampling tick: read the interface table, record the traffic,
    // refresh the tray icon and its hint, repaint the graph.
    void SamplingTick();
    // Announces a monitoring problem of the collector as a balloon.
    void MonitoringError(TIPHLPCollector& sender, std::int32_t msg);
    // Makes PendingOptions the options in force and carries them to the
    // autostart entry, the collector, the window, the graph, the gauge and
    // the effect timers.
    void ApplyPendingOptions();

    // Keeps the window reachable: back to the primary work area's corner
    // when too little of it lies on any monitor.
    void FitWindowToDesktop();
    // Minimum 32 x 32; no wider than the graph can fill plus the frame.
    void UpdateSizeConstraints();

    // Show or hide the meter, fading when transparency and fading are on.
    void ShowMeter();
    void HideMeter();
    // The immediate show and hide.
    void ShowMeterWindow();
    void HideMeterWindow();
    // Offers "Show Meter" while hidden and "Hide Meter" while shown.
    void UpdateMeterActions();
    void DisableMeterActions();

    void ShowMeterActionExecute() { ShowMeter(); }
    void HideMeterActionExecute() { HideMeter(); }
    // Closes the window, which saves the options and ends the program.
    void ExitProgramExecute() { PostDeferred(DeferredCommand::Close); }
    // Opens the options dialog.
    void OptionsExecute() { PostDeferred(DeferredCommand::Options); }
    void ApplyOptionsExecute() { ApplyPendingOptions(); }
    // Opens the about box.
    void AboutExecute() { PostDeferred(DeferredCommand::About); }
    // The tray icon's click: shows a hidden meter, raises a covered one and
    // hides one that is fully in view.
    void OVL_TrayClick();

    // Runs a command from the window's own message, after the handler that
    // asks for it has returned.
    void PostDeferred(DeferredCommand command, POINT screenPoint = {});
    // Runs a modal dialog owned by the window. Its action is greyed out and
    // a top-most meter steps back while the dialog is open; both come back
    // in every case.
    void RunActionDialog(ActionId action, const std::function<void(HWND owner)>& show);

private:
    friend class MainWindowProbe;  // the tests' view of the window's parts

    void FormCreate();
    void FormClose();
    void FormDestroy();

    bool CheckOperatingSystem();
    void CreateGraph();
    void CreateTimers();

    // The effect timers and the power events.
    void UpdateEffectTimers();
    // Shows or hides the window and updates the meter actions as a fade
    // reports.
    void CarryOut(const FadeOutcome& outcome);
    void SuspendTimers();
    void ResumeTimers();
    void SetTimerStates(const TimerStates& states);
    LRESULT WMSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT WMPowerBroadcast(WPARAM wParam, LPARAM lParam);

    // Deferred commands and nested message loops.
    void RunDeferred(DeferredCommand command, LPARAM lParam);
    // Saves and closes, or, while a menu or box is open, ends them first.
    void CloseNow();
    void SaveOptionsOnce();
    HWND MenuOwner();
    void OpenPopupMenu(POINT screenPoint);
    // The menu as it opens: the actions' states and the interface sub-menu
    // from the live interface list, which it keeps in ifl; its images at the
    // DPI of the monitor it opens on.
    TrayPopupMenu OVL_PopupMenuPopup(UINT dpi);
    void RunMenuCommand(unsigned command);
    void RunOptionsDialog(HWND owner);

    void GraphMouseDown(MouseButton button, int x, int y);
    void GraphMouseUp(MouseButton button, int x, int y);
    void OnTrayIcon(WPARAM wParam, LPARAM lParam);
    void OnSize();
    void OnSettingChange(WPARAM action, const wchar_t* area);
    // The meter on a monitor of another DPI, and the notification area's
    // icon size, which a new icon follows.
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void UpdateTrayIconSize();
    // The messages that reach the meter's parts.
    LRESULT HandleMeterMessage(UINT message, WPARAM wParam, LPARAM lParam);

    MainWindowServices FServices;
    HICON FWindowIcon = nullptr;  // shared resource icon, not owned

    ActionList OVL_Actions;
    // The interfaces of the sub-menu's last opening; an item's tag indexes it.
    TIFList ifl;

    // Created in this order by FormCreate and freed in reverse by FormDestroy.
    std::unique_ptr<NotificationIcon> OVL_Tray;
    std::unique_ptr<TIPHLPCollector> FCollector;
    std::unique_ptr<TTrafficBuffer> FBuffer;
    std::unique_ptr<TrayGaugeIcon> FGauge;
    std::unique_ptr<TrafficGraphControl> FGraph;
    std::unique_ptr<TTimerQueueTimer> PD_Timer;
    std::unique_ptr<TTimerQueueTimer> FG_Timer;
    std::unique_ptr<TTimerQueueTimer> MF_Timer;
    std::unique_ptr<MeterFader> FFader;  // drives the two effect timers
    // All of the above exist: from the end of their creation to the start
    // of their destruction.
    bool FAssembled = false;
    // Windows' close command came before the meter was assembled.
    bool FCloseCommandHeld = false;

    WindowAppearance FAppearance;
    TimerSuspension FSuspension;
    bool PD_isbusy = false;
    bool FG_isbusy = false;  // a fade step runs
    // The tick's texts, kept so that a steady tick allocates nothing.
    std::wstring FInterfaceName;
    std::wstring FTrayHint = TrayHintStorage();
    std::wstring FGraphName = TrayHintStorage();

    WindowLoops FLoops{[this] { PostDeferred(DeferredCommand::Close); }};
    // Takes the foreground for the popup menu, so that the meter keeps its
    // place among the other windows; hidden, made at the first menu.
    UniqueWindow FMenuOwner;

    WindowSizeLimits FSizeLimits{kMinimumWindowSize};
    MeterDpi FDpi;
};

}  // namespace orvalet::win32
