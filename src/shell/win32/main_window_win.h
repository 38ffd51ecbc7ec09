#pragma once
// The meter window: a small resizable tool window whose whole client area is
// the traffic graph. It owns everything the running meter consists of (the
// collector, the traffic history, the tray icon and its gauge, the graph and
// the three timers), samples once per second and keeps the options.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/base_window.h"
#include "rendering/win32/traffic_graph_control_win.h"
#include "rendering/win32/tray_icon_gauge_win.h"
#include "sampling/collector.h"
#include "sampling/interface_table.h"
#include "sampling/traffic_buffer.h"
#include "settings/settings_platform.h"
#include "shell/popup_menu_model.h"
#include "shell/window_placement.h"
#include "shell/win32/timer_queue_timer_win.h"
#include "shell/win32/tray_icon_win.h"

namespace orvalet::win32 {

// The main window's class name; a window of this class is also the sign
// that the program already runs on this desktop.
inline constexpr wchar_t MAIN_WINDOW_CLASS[] = L"{DC1AE7EC-27A6-44FC-B347-FCF2E2902F2F}";

// The tray icon's mouse events arrive as this message.
inline constexpr UINT WM_TRAYICON = WM_APP + 1;

// The window is never narrower or lower than this, in pixels.
inline constexpr int kMinimumWindowSize = 32;

// What the meter draws on from outside. The program entry wires the real
// services; tests substitute a scripted interface table, a registry root of
// their own, a recording tray icon.
struct MainWindowServices {
    std::unique_ptr<InterfaceTableSource> interfaceTable;
    // Registry, work area, executable path, version; must outlive the window.
    SettingsPlatform* settings = nullptr;
    // Empty: the real notification-area icon.
    std::function<std::unique_ptr<NotificationIcon>(HWND owner, UINT callbackMessage, HICON icon)>
        createTrayIcon;
    // Empty: the system's message box with the error icon and "Abort".
    std::function<void(HWND owner, const std::wstring& text)> showStartupError;
    // Ends the program's message loop; empty: PostQuitMessage(0).
    std::function<void()> terminate;
    // Opens the context menu at a screen point and returns the choice;
    // empty: the system's popup menu.
    std::function<MenuCommand(HWND owner, POINT screenPoint, const std::vector<MenuEntry>& entries)>
        trackPopupMenu;
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
    // collector, the graph, the gauge and the window.
    void ApplyPendingOptions();

    // Keeps the window reachable: back to the primary work area's corner
    // when too little of it lies on the desktop.
    void FitWindowToDesktop();
    // Minimum 32 x 32; no wider than the graph can fill plus the frame.
    void UpdateSizeConstraints();

    void ShowMeterWindow();
    void HideMeterWindow();
    // Offers "Show Meter" while hidden and "Hide Meter" while shown.
    void UpdateMeterActions();
    // Closes the window, which saves the options and ends the program.
    void ExitProgramExecute();

    // Opens the context menu at a screen point and carries out the choice.
    void OpenPopupMenu(POINT screenPoint);

    // State for inspection.
    TIPHLPCollector& Collector() { return *collector_; }
    const TTrafficBuffer& TrafficBuffer() const { return *buffer_; }
    TrafficGraphControl& GraphControl() { return *graph_; }
    TTrayIconGauge& Gauge() { return *gauge_; }
    TTimerQueueTimer& SamplingTimer() { return *PD_Timer; }
    const SizeLimits& SizeConstraints() const noexcept { return sizeLimits_; }
    const MeterActions& Actions() const noexcept { return meterActions_; }
    bool SamplingBusy() const noexcept { return PD_isbusy; }

private:
    void FormCreate();
    void FormClose();
    void FormDestroy();

    bool CheckOperatingSystem();
    void PlaceWindowFromOptions();
    void CreateGraph();
    void CreateTimers();
    void ApplyGraphOptions();
    void SetTopMost(bool topMost);

    void GraphMouseDown(MouseButton button, int x, int y);
    void GraphMouseUp(MouseButton button, int x, int y);
    void OnTrayIcon(WPARAM wParam, LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    void OnSize();
    void OnSettingChange(const wchar_t* area);
    void RunMenuCommand(MenuCommand command);

    WindowBounds Bounds() const;
    void SetBounds(const WindowBounds& bounds);

    MainWindowServices services_;
    HICON windowIcon_ = nullptr;  // shared resource icon, not owned

    // Created in this order by FormCreate and freed in reverse by FormDestroy.
    std::unique_ptr<NotificationIcon> OVL_Tray;
    std::unique_ptr<TIPHLPCollector> collector_;
    std::unique_ptr<TTrafficBuffer> buffer_;
    std::unique_ptr<TTrayIconGauge> gauge_;
    std::unique_ptr<TrafficGraphControl> graph_;
    std::unique_ptr<TTimerQueueTimer> PD_Timer;
    std::unique_ptr<TTimerQueueTimer> FG_Timer;
    std::unique_ptr<TTimerQueueTimer> MF_Timer;

    bool TimersSuspended = false;
    bool PD_isbusy = false;
    std::int32_t FG_Type = 0;
    bool FG_active = false;

    MeterActions meterActions_ = MeterActionsFor(false);
    // The minimum holds from the window's creation on, so that a small
    // stored size survives placement; the maximum width stays 0 (none)
    // until UpdateSizeConstraints first measures the graph.
    SizeLimits sizeLimits_{kMinimumWindowSize, kMinimumWindowSize, 0};
};

}  // namespace orvalet::win32
