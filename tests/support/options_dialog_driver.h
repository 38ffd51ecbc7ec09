#pragma once
// Drives the options dialog through its controls, as the user would, and
// reads them back. A script posted with ModalScript runs inside the dialog's
// modal loop before the dialog is first shown, so the dialog stays hidden
// unless the script shows it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "base/win32/base_window.h"
#include "base/win32/unique_handle.h"
#include "settings/win32/options_dialog_win.h"

namespace orvalet::win32::testing {

class OptionsDialogDriver {
public:
    explicit OptionsDialogDriver(HWND dialog) : dialog_(dialog) {}

    HWND Dialog() const { return dialog_; }

    // The control wherever it lies, on the dialog or on one of its pages.
    HWND Control(OptionsControl id) const {
        std::pair<int, HWND> search{static_cast<int>(id), nullptr};
        ::EnumChildWindows(dialog_, [](HWND child, LPARAM data) -> BOOL {
            auto& [wanted, found] = *reinterpret_cast<std::pair<int, HWND>*>(data);
            if (::GetDlgCtrlID(child) == wanted) found = child;
            return found == nullptr;
        }, reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    void Click(OptionsControl id) const { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }
    void Choose(OptionsControl id, int item) const {
        ::SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        Notify(id, CBN_SELCHANGE);
    }
    void ChooseColorEntry(int item) const {
        ::SendMessageW(Control(OptionsControl::ColorsListBox), LB_SETCURSEL, static_cast<WPARAM>(item), 0);
        Notify(OptionsControl::ColorsListBox, LBN_SELCHANGE);
    }
    void Slide(int position) const {
        const HWND trackBar = Control(OptionsControl::TV_TrackBar);
        ::SendMessageW(trackBar, TBM_SETPOS, TRUE, position);
        ::SendMessageW(::GetParent(trackBar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                       reinterpret_cast<LPARAM>(trackBar));
    }
    void ClickPreview() const {
        const HWND preview = Control(OptionsControl::ColorsPaintBox);
        ::SendMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(preview, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    void DoubleClick(OptionsControl id) const {
        for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            ::SendMessageW(Control(id), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    }
    void Press(WPARAM key) const {  // on the control that has the focus, through the dialog manager
        MSG press{::GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
        ::IsDialogMessageW(dialog_, &press);
    }

    bool Enabled(OptionsControl id) const { return ::IsWindowEnabled(Control(id)); }
    bool Checked(OptionsControl id) const { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    int Selection(OptionsControl id) const {
        return static_cast<int>(::SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
    }
    std::wstring Text(OptionsControl id) const {
        wchar_t text[64]{};
        ::GetWindowTextW(Control(id), text, 64);
        return text;
    }
    // The preview's colour, as it paints itself.
    COLORREF PreviewColor() const {
        const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
        const UniqueBitmap pixels(::CreateBitmap(8, 8, 1, 32, nullptr));
        const SelectionGuard selected = Select(dc.get(), pixels.get());
        ::SendMessageW(Control(OptionsControl::ColorsPaintBox), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                       PRF_CLIENT);
        return ::GetPixel(dc.get(), 1, 1);
    }

private:
    void Notify(OptionsControl id, UINT code) const {
        const HWND control = Control(id);
        ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(static_cast<int>(id), code),
                       reinterpret_cast<LPARAM>(control));
    }

    HWND dialog_;
};

// A hidden window that runs a script, given the open options dialog, from a
// message posted to it before the dialog opens.
class ModalScript final : public BaseWindow<ModalScript> {
public:
    static const wchar_t* ClassName() { return L"OrvaletTestModalScript"; }
    ModalScript() { CreateWindowHandle(0, L"script", WS_POPUP, 100, 100, 200, 100); }

    void Post(std::function<void(const OptionsDialogDriver&)> script) {
        script_ = std::move(script);
        ::PostMessageW(Handle(), WM_APP, 0, 0);
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP) return DefaultHandling(message, wParam, lParam);
        const OptionsDialogDriver driver(::FindWindowW(L"#32770", L"Orvalet Options"));
        if (!driver.Dialog()) {
            // It may open from a message posted after this one: look again then.
            if (wParam < kAttempts) ::PostMessageW(Handle(), WM_APP, wParam + 1, 0);
            else ADD_FAILURE() << "the options dialog did not open";
            return 0;
        }
        script_(driver);
        // A failed assertion leaves the dialog open; close it so the test ends.
        if (::testing::Test::HasFatalFailure()) ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        return 0;
    }

private:
    static constexpr WPARAM kAttempts = 20;
    std::function<void(const OptionsDialogDriver&)> script_;
};

}  // namespace orvalet::win32::testing
