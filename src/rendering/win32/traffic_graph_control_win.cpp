#include "rendering/win32/traffic_graph_control_win.h"

#include <windowsx.h>

#include <algorithm>

#include "base/win32/dpi_win.h"
#include "base/win32/unique_handle.h"
#include "rendering/win32/surface_win.h"

namespace orvalet::win32 {

namespace {

// Room for any name the meter gives the graph (two rates and an interface
// name of up to 256 characters), so a new name never allocates.
constexpr std::size_t kNameRoom = 512;

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

TrafficGraphControl::TrafficGraphControl() { name_.reserve(kNameRoom); }

// The window must go while this object is still whole: the base class's
// destructor would run after graph_ and the text renderer are gone.
TrafficGraphControl::~TrafficGraphControl() { Destroy(); }

bool TrafficGraphControl::Create(HWND parent, int x, int y, int width, int height) {
    if (!CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height, parent))
        return false;
    SetDpi(WindowDpi(Handle()));
    return true;
}

// The widest the control may be depends on the maximum column's font, so a
// graph on a monitor of another DPI is drawn at once, before its owner
// resizes it.
void TrafficGraphControl::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == dpi_) return;
    const bool hadDpi = dpi_ != 0;
    dpi_ = dpi;
    text_.SetDpi(static_cast<int>(dpi));
    graph_.SetDpi(static_cast<int>(dpi));
    readout_.SetDpi(dpi);
    if (hadDpi) Paint();
}

void TrafficGraphControl::SetBounds(int x, int y, int width, int height) {
    if (Handle())
        ::SetWindowPos(Handle(), nullptr, x, y, std::max(width, 0), std::max(height, 0),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void TrafficGraphControl::Paint() {
    if (!graph_.GraphEnabled() || !Handle()) return;
    const WindowDC dc(Handle());
    RenderTo(dc.get());
}

bool TrafficGraphControl::PaintIfChanged() {
    if (!graph_.GraphEnabled() || !Handle() || !RenderIfChanged()) return false;
    const WindowDC dc(Handle());
    CopyToDC(graph_.RenderBitmap(), dc.get());
    Painted();
    return true;
}

void TrafficGraphControl::RenderTo(HDC dc) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    graph_.RenderGraph(client.right - client.left, client.bottom - client.top);
    CopyToDC(graph_.RenderBitmap(), dc);
    Painted();
}

void TrafficGraphControl::Painted() {
    ++paints_;
    KeepWithinMaxWidth();
    readout_.Refresh();
}

// Windows announces a new window text as the window object's new name;
// screen readers read the client object, whose name is the same text.
void TrafficGraphControl::SetAccessibleName(std::wstring_view name) {
    if (!Handle() || name == name_) return;
    name_.assign(name);
    ::SetWindowTextW(Handle(), name_.c_str());
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

bool TrafficGraphControl::RenderIfChanged() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    return graph_.RenderGraphIfChanged(client.right - client.left, client.bottom - client.top);
}

// The render may have lowered the maximum width (a wider maximum column);
// shrinking the window then makes the system ask for a fresh paint at the
// new size.
void TrafficGraphControl::KeepWithinMaxWidth() {
    RECT bounds{};
    ::GetWindowRect(Handle(), &bounds);
    const int maxWidth = MaxWidth();
    const int height = bounds.bottom - bounds.top;
    if (maxWidth > 0 && bounds.right - bounds.left > maxWidth)
        ::SetWindowPos(Handle(), nullptr, 0, 0, maxWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TrafficGraphControl::LimitWidth(WINDOWPOS& position) const {
    const int maxWidth = MaxWidth();
    if ((position.flags & SWP_NOSIZE) == 0 && maxWidth > 0 && position.cx > maxWidth) position.cx = maxWidth;
}

void TrafficGraphControl::RaiseMouse(const GraphMouseHandler& handler, MouseButton button, LPARAM lParam) const {
    if (handler) handler(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

// A press takes the readout away: a drag moves the window from under it, a
// menu opens where it is.
void TrafficGraphControl::PressMouse(MouseButton button, LPARAM lParam) {
    readout_.Hide();
    RaiseMouse(onMouseDown_, button, lParam);
}

LRESULT TrafficGraphControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            const PaintScope paint(Handle());
            if (graph_.GraphEnabled()) RenderTo(paint.dc());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // every paint covers the whole client area
        case WM_WINDOWPOSCHANGING:
            LimitWidth(*reinterpret_cast<WINDOWPOS*>(lParam));
            break;
        case WM_MOUSEMOVE: readout_.MouseMoved(Handle(), PointOf(lParam)); return 0;
        case WM_MOUSEHOVER: readout_.MouseRested(Handle(), PointOf(lParam)); return 0;
        case WM_MOUSELEAVE: readout_.MouseLeft(); return 0;
        case WM_LBUTTONDOWN: PressMouse(MouseButton::Left, lParam); return 0;
        case WM_RBUTTONDOWN: PressMouse(MouseButton::Right, lParam); return 0;
        case WM_MBUTTONDOWN: PressMouse(MouseButton::Middle, lParam); return 0;
        case WM_LBUTTONUP: RaiseMouse(onMouseUp_, MouseButton::Left, lParam); return 0;
        case WM_RBUTTONUP: {
            // The handler may free this control (its menu can end the
            // program), so only the handle taken beforehand is used after it.
            const HWND window = Handle();
            RaiseMouse(onMouseUp_, MouseButton::Right, lParam);
            return ::DefWindowProcW(window, message, wParam, lParam);  // keeps WM_CONTEXTMENU
        }
        case WM_MBUTTONUP: RaiseMouse(onMouseUp_, MouseButton::Middle, lParam); return 0;
        default: break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace orvalet::win32
