#pragma once
// The graph's readout: while the cursor rests over the bars, a tooltip shows
// the bar under it (how long ago, download and upload) and follows the
// cursor and the scrolling history. The graph control hands it its mouse
// messages. The common controls library, which the tooltip needs, is loaded
// at the first rest, so a meter that is never hovered does without it.
#include <windows.h>

#include <string>

#include "base/win32/unique_handle.h"
#include "rendering/traffic_graph.h"

namespace orvalet::win32 {

class GraphReadout {
public:
    // The graph is the control's, which owns this readout.
    explicit GraphReadout(const TTrafficGraph& graph) : graph_(graph) {}

    // Client coordinates of the control.
    void MouseMoved(HWND control, POINT point);
    void MouseRested(HWND control, POINT point);
    void MouseLeft();
    // Until the cursor rests again: a drag starts, the meter hides.
    void Hide();
    // The control has painted: the bar under a still cursor has moved.
    void Refresh();
    // The DPI of the monitor the graph is on, which the tip's font and its
    // distance from the cursor follow. A new DPI makes the tip anew.
    void SetDpi(UINT dpi);

    // The tooltip, once made; for the tests.
    HWND Tip() const { return tip_.get(); }

private:
    void Show();
    bool MakeTip();
    void ShowTip(bool show);
    void TrackMouse() const;
    UINT TipDpi() const;

    const TTrafficGraph& graph_;
    HWND control_ = nullptr;
    POINT point_{};
    bool active_ = false;  // from the rest to the leave, drag or hiding
    bool tipShown_ = false;
    UINT dpi_ = 0;  // 0: the system DPI
    UniqueFont font_;  // the tip's at dpi_; outlives the tip
    UniqueWindow tip_;
    std::wstring text_;
    std::wstring tipText_;
};

}  // namespace orvalet::win32
