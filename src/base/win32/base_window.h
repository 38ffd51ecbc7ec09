#pragma once
// The one window base of the program (CRTP). Derived classes supply
//     static const wchar_t* ClassName();
//     LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// and may supply `static void CustomizeClass(WNDCLASSEXW&)`. The static window
// procedure binds `this` at WM_NCCREATE; no exception ever leaves it.
// A dialog box made from a template runs through the same HandleMessage: its
// dialog procedure binds `this` at WM_INITDIALOG, and DefaultHandling hands a
// message back to the dialog manager.
#include <windows.h>

#include <utility>

#include "base/error_handler.h"

namespace orvalet::win32 {

template <typename Derived>
class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    // By the time this runs the derived part is gone, so the window is
    // detached first and its last messages go to DefWindowProc. A derived
    // class that handles WM_DESTROY calls Destroy() in its own destructor.
    virtual ~BaseWindow() {
        if (!window_) return;
        ::SetWindowLongPtrW(window_, isDialog_ ? DWLP_USER : GWLP_USERDATA, 0);
        ::DestroyWindow(std::exchange(window_, nullptr));
    }

    HWND Handle() const noexcept { return window_; }

    void Destroy() noexcept {
        if (window_) ::DestroyWindow(window_);  // WM_NCDESTROY clears window_
    }

protected:
    static HINSTANCE Instance() noexcept { return ::GetModuleHandleW(nullptr); }

    static bool RegisterWindowClass() noexcept {
        WNDCLASSEXW wc{};
        if (::GetClassInfoExW(Instance(), Derived::ClassName(), &wc)) return true;
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &BaseWindow::WindowProc;
        wc.hInstance = Instance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = Derived::ClassName();
        if constexpr (requires { Derived::CustomizeClass(wc); }) Derived::CustomizeClass(wc);
        return ::RegisterClassExW(&wc) != 0;
    }

    bool CreateWindowHandle(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int width,
                            int height, HWND parent = nullptr, HMENU menuOrId = nullptr) noexcept {
        if (!RegisterWindowClass()) return false;
        ::CreateWindowExW(exStyle, Derived::ClassName(), title, style, x, y, width, height, parent, menuOrId,
                          Instance(), this);
        return window_ != nullptr;
    }

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (isDialog_) {
            defaultRequested_ = true;
            return 0;
        }
        return ::DefWindowProcW(window_, message, wParam, lParam);
    }

    // Shows a modal dialog box made from a template and returns what
    // EndDialog was given, or -1 when the system refuses the dialog.
    INT_PTR RunModalDialog(HWND owner, const DLGTEMPLATE& dialogTemplate) noexcept {
        isDialog_ = true;
        return ::DialogBoxIndirectParamW(Instance(), &dialogTemplate, owner, &BaseWindow::DialogProc,
                                         reinterpret_cast<LPARAM>(this));
    }

    // Creates a modeless dialog box, such as a page of a dialog (WS_CHILD,
    // DS_CONTROL), from a template.
    bool CreateDialogHandle(HWND parent, const DLGTEMPLATE& dialogTemplate) noexcept {
        isDialog_ = true;
        ::CreateDialogIndirectParamW(Instance(), &dialogTemplate, parent, &BaseWindow::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
        return window_ != nullptr;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* self = static_cast<BaseWindow*>(create->lpCreateParams);
            self->window_ = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);

        LRESULT result = 0;
        const bool handled = RunGuarded(
            [&] { result = static_cast<Derived*>(self)->HandleMessage(message, wParam, lParam); });
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
        }
        return handled ? result : ::DefWindowProcW(window, message, wParam, lParam);
    }

    // The few dialog messages whose result is the procedure's return value
    // instead of DWLP_MSGRESULT.
    static bool ReturnsResultDirectly(UINT message) noexcept {
        return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG ||
               message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
               message == WM_QUERYDRAGICON;
    }

    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG) {
            reinterpret_cast<BaseWindow*>(lParam)->window_ = dialog;
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        }
        auto* self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        if (!self) return FALSE;

        // Kept per message: a handler may send further messages to the dialog.
        const bool outerDefault = std::exchange(self->defaultRequested_, false);
        LRESULT result = 0;
        const bool completed = RunGuarded(
            [&] { result = static_cast<Derived*>(self)->HandleMessage(message, wParam, lParam); });
        const bool handled = completed && !std::exchange(self->defaultRequested_, outerDefault);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
            self->window_ = nullptr;
        }
        if (!handled) return FALSE;
        if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
        return TRUE;
    }

    HWND window_ = nullptr;
    bool isDialog_ = false;
    bool defaultRequested_ = false;
};

}  // namespace orvalet::win32
