#include "rendering/win32/graph_readout_win.h"

#include <commctrl.h>

#include "base/win32/dpi_win.h"
#include "base/win32/system_function_win.h"
#include "rendering/graph_readout.h"

namespace orvalet::win32 {
namespace {

constexpr int kMaxTipWidth = 1000;  // any width: only turns on the line breaks

TTTOOLINFOW ToolOf(HWND control, const wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // also understood by version 5 of the library
    tool.uFlags = TTF_TRACK | TTF_CENTERTIP | TTF_TRANSPARENT;
    tool.hwnd = control;
    tool.lpszText = const_cast<wchar_t*>(text);
    return tool;
}

// A meter that lets the mouse through takes no notice of it.
bool ClickThrough(HWND control) {
    return (::GetWindowLongPtrW(::GetAncestor(control, GA_ROOT), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

// The font tooltips are drawn in, the system's status font, at a DPI; null
// where the system cannot tell.
UniqueFont TipFontAt(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    if (!NonClientMetricsForDpi(dpi, metrics)) return {};
    return UniqueFont(::CreateFontIndirectW(&metrics.lfStatusFont));
}

}  // namespace

// Until the cursor rests, every move starts the wait for a rest anew.
void GraphReadout::MouseMoved(HWND control, POINT point) {
    control_ = control;
    point_ = point;
    if (active_) {
        Show();
    } else {
        TrackMouse();
    }
}

void GraphReadout::MouseRested(HWND control, POINT point) {
    control_ = control;
    point_ = point;
    active_ = true;
    Show();
}

void GraphReadout::MouseLeft() { Hide(); }

void GraphReadout::Hide() {
    active_ = false;
    ShowTip(false);
}

void GraphReadout::Refresh() {
    if (active_) Show();
}

void GraphReadout::SetDpi(UINT dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    ShowTip(false);
    tip_.reset();
    font_.reset();  // the next rest or paint makes the tip at the new DPI
}

void GraphReadout::TrackMouse() const {
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, control_, HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
}

// Over a bar the tip shows its values centred below the cursor (the tooltip
// keeps itself on the screen); anywhere else it goes.
void GraphReadout::Show() {
    const std::optional<GraphReading> reading = ReadGraphAt(graph_.DrawnGraphArea(), graph_.TrafficBuffer(),
                                                            point_.x, point_.y);
    if (!reading || ClickThrough(control_) || !MakeTip()) {
        ShowTip(false);
        return;
    }
    WriteReadoutText(text_, *reading, graph_.UDDisplayUnit());
    if (text_ != tipText_) {
        tipText_.assign(text_);
        const TTTOOLINFOW tool = ToolOf(control_, tipText_.c_str());
        ::SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    POINT screen = point_;
    ::ClientToScreen(control_, &screen);
    const int belowTheArrow = SystemMetricForDpi(SM_CYCURSOR, TipDpi()) * 3 / 4;
    ::SendMessageW(tip_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y + belowTheArrow));
    ShowTip(true);
}

bool GraphReadout::MakeTip() {
    if (tip_) return true;
    if (!InitCommonControlClasses(ICC_BAR_CLASSES)) return false;
    tip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 ::GetAncestor(control_, GA_ROOT), nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (!tip_) return false;
    tipText_.clear();
    const TTTOOLINFOW tool = ToolOf(control_, L"");
    ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    // The tip is drawn at the system DPI by itself; on a monitor of another
    // DPI it gets the font of that DPI.
    if (TipDpi() != SystemDpi()) {
        font_ = TipFontAt(TipDpi());
        if (font_) ::SendMessageW(tip_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    return true;
}

UINT GraphReadout::TipDpi() const { return dpi_ ? dpi_ : SystemDpi(); }

void GraphReadout::ShowTip(bool show) {
    if (show == tipShown_ || !tip_) return;
    tipShown_ = show;
    const TTTOOLINFOW tool = ToolOf(control_, nullptr);
    ::SendMessageW(tip_.get(), TTM_TRACKACTIVATE, show, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace orvalet::win32
