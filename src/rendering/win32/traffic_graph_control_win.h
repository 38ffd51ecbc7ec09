#pragma once
// The child window that shows the traffic graph. It renders the graph at its
// own client size with GDI text and copies the finished picture to the
// screen in one piece, so the meter never shows a half-drawn graph.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "base/win32/base_window.h"
#include "rendering/traffic_graph.h"
#include "rendering/win32/graph_readout_win.h"
#include "rendering/win32/text_renderer_win.h"

namespace orvalet::win32 {

enum class MouseButton { Left, Right, Middle };

// Client coordinates of the control.
using GraphMouseHandler = std::function<void(MouseButton button, int x, int y)>;

class TrafficGraphControl : public BaseWindow<TrafficGraphControl> {
public:
    TrafficGraphControl();
    ~TrafficGraphControl() override;

    // Creates the control as a visible child of the parent; false if the
    // system refuses.
    bool Create(HWND parent, int x, int y, int width, int height);
    // Moves and sizes the control; the width never exceeds MaxWidth().
    void SetBounds(int x, int y, int width, int height);

    // The DPI the graph is drawn at: its window's when it is made, then what
    // the owner says when its monitor changes. The fonts keep their point
    // sizes and the label margins grow with it, and so do the readout's font
    // and place.
    UINT Dpi() const { return dpi_; }
    void SetDpi(UINT dpi);
    const GdiTextRenderer& Text() const { return text_; }

    TTrafficGraph& Graph() { return graph_; }
    const TTrafficGraph& Graph() const { return graph_; }

    // Renders the graph at the control's size and shows it at once. Does
    // nothing while the graph is disabled.
    void Paint();
    // The same, but when the picture cannot have changed since the last
    // render, nothing is drawn or copied to the screen. Returns whether it
    // painted.
    bool PaintIfChanged();
    // Pictures copied to the screen so far.
    unsigned long Paints() const { return paints_; }

    // The widest the control may be (the history's length plus the maximum
    // column), as found by the last paint; 0 before the first one. The owner
    // limits its own width by it.
    int MaxWidth() const { return graph_.MaxWidth(); }

    // The window text, which is what screen readers read as the control's
    // name. An unchanged name costs a comparison; a changed one is announced.
    void SetAccessibleName(std::wstring_view name);
    // Takes the readout's tooltip away until the cursor rests again; for a
    // meter about to hide.
    void HideReadout() { readout_.Hide(); }
    HWND ReadoutTip() const { return readout_.Tip(); }

    // Mouse presses on the graph, for dragging its window.
    void SetOnMouseDown(GraphMouseHandler handler) { onMouseDown_ = std::move(handler); }
    void SetOnMouseUp(GraphMouseHandler handler) { onMouseUp_ = std::move(handler); }

    static const wchar_t* ClassName() { return L"OrvaletTrafficGraph"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void RenderTo(HDC dc);
    bool RenderIfChanged();
    void KeepWithinMaxWidth();
    void LimitWidth(WINDOWPOS& position) const;
    void RaiseMouse(const GraphMouseHandler& handler, MouseButton button, LPARAM lParam) const;
    void PressMouse(MouseButton button, LPARAM lParam);
    void Painted();

    GdiTextRenderer text_;
    TTrafficGraph graph_{text_};
    GraphMouseHandler onMouseDown_;
    GraphMouseHandler onMouseUp_;
    unsigned long paints_ = 0;
    UINT dpi_ = 0;
    GraphReadout readout_{graph_};
    std::wstring name_;
};

}  // namespace orvalet::win32
