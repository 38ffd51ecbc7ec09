#include "base/win32/base_window.h"

#include "base/win32/dialog_template.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace orvalet::win32 {
namespace {

class ProbeWindow : public BaseWindow<ProbeWindow> {
public:
    static const wchar_t* ClassName() { return L"OrvaletTestProbeWindow"; }

    bool Create() { return CreateWindowHandle(0, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            seen.push_back(static_cast<int>(wParam));
            if (wParam == 99) throw std::runtime_error("handler failed");
            return 7;
        }
        return DefaultHandling(message, wParam, lParam);
    }

    std::vector<int> seen;
};

TEST(BaseWindow, DispatchesToTheDerivedHandlerReportsItsExceptionsAndDestroyClearsTheHandle) {
    ProbeWindow window;
    ASSERT_TRUE(window.Create());
    std::vector<std::wstring> reported;
    const ErrorHandler previous = SetErrorHandler([&](const std::wstring& m) { reported.push_back(m); });
    EXPECT_EQ(::SendMessageW(window.Handle(), WM_APP, 3, 0), 7);
    ::SendMessageW(window.Handle(), WM_APP, 99, 0);  // the exception does not escape
    SetErrorHandler(previous);
    EXPECT_EQ(window.seen, (std::vector<int>{3, 99}));
    EXPECT_EQ(reported, std::vector<std::wstring>{L"handler failed"});

    const HWND handle = window.Handle();
    window.Destroy();
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(::IsWindow(handle));
}

// A modeless dialog from a template, answering through the same handler.
class ProbeDialog : public BaseWindow<ProbeDialog> {
public:
    bool Create() { return CreateDialogHandle(nullptr, DialogTemplate(WS_POPUP | WS_CAPTION, 0, L"probe").Get()); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) return initialized = TRUE;
        if (message == WM_APP) {
            if (wParam == 99) throw std::runtime_error("dialog handler failed");
            return 7;
        }
        return DefaultHandling(message, wParam, lParam);
    }

    bool initialized = false;
};

TEST(BaseWindow, DialogAnswersThroughItsMessageResultAndLeavesTheRestToTheDialogManager) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.initialized);
    EXPECT_EQ(::SendMessageW(dialog.Handle(), WM_APP, 3, 0), 7);
    // Unhandled: the dialog manager answers, here with the title's length.
    EXPECT_EQ(::SendMessageW(dialog.Handle(), WM_GETTEXTLENGTH, 0, 0), 5);

    std::vector<std::wstring> reported;
    const ErrorHandler previous = SetErrorHandler([&](const std::wstring& m) { reported.push_back(m); });
    EXPECT_EQ(::SendMessageW(dialog.Handle(), WM_APP, 99, 0), 0);
    SetErrorHandler(previous);
    EXPECT_EQ(reported, std::vector<std::wstring>{L"dialog handler failed"});

    const HWND handle = dialog.Handle();
    dialog.Destroy();
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_FALSE(::IsWindow(handle));
}

}  // namespace
}  // namespace orvalet::win32
