#include "base/win32/dialog_form_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <span>
#include <utility>

#include "base/win32/base_window.h"
#include "base/win32/dialog_layout_win.h"
#include "base/win32/dialog_template.h"
#include "base/win32/dpi_win.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {
namespace {

struct Record {
    bool loud = false;
};

enum Id { kTabs = 10, kCaption, kLoud, kList };

constexpr const wchar_t* kPages[] = {L"One", L"Two"};

// A caption far wider than its bounds, a drop-down list, a bound check box
// with a hint on the second page.
constexpr ControlRow<Record> kRows[] = {
    {kCaption, 0, ControlKind::Label, L"A caption much wider than its place", {4, 4, 10, 13}},
    {kList, 0, ControlKind::DropDownList, nullptr, {4, 30, 80, 21}},
    ControlRow<Record>(kLoud, 1, ControlKind::CheckBox, L"Loud", {4, 4, 60, 17}, Flag<&Record::loud>())
        .WithHint(L"Louder"),
    {kTabs, kOnForm, ControlKind::Tabs, nullptr, {8, 8, 200, 120}},
};

class FormDialog final : public BaseWindow<FormDialog> {
public:
    FormDialog() { CreateDialogHandle(nullptr, DialogTemplate(WS_POPUP | WS_CAPTION, 0, L"Form").Get()); }
    ~FormDialog() override { Destroy(); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (form.HandleMessage(message, wParam, lParam)) return 0;
        if (message == WM_INITDIALOG) opened = form.Open(Handle());
        if (message == WM_COMMAND) form.Store<Record>(kRows, message, wParam, lParam, record);
        return message == WM_INITDIALOG || message == WM_COMMAND ? 0 : DefaultHandling(message, wParam, lParam);
    }

    DialogForm form{std::span<const ControlRow<Record>>(kRows), {.clientWidth = 216, .clientHeight = 136,
                                                                 .pageCaptions = kPages}};
    Record record;
    bool opened = false;
};

RECT InParent(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return 0;
    const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP header{};
    ::GetObjectW(color.get(), sizeof header, &header);
    return header.bmWidth;
}

// Laid out at the DPI the dialog opens with, then again at twice that: the
// places and the fonts scale, a label stays as wide as its text, a
// drop-down's height takes in its open list, the pages fill the tabs, the
// caption has the program's icons at the DPI, and a
// bound control still stores into its field when clicked, and only then.
TEST(DialogForm, LaysTheControlsOutForEachDpiAndStoresThroughTheirBindings) {
    FormDialog dialog;
    ASSERT_TRUE(dialog.opened);
    const HWND dialogWindow = dialog.Handle();
    const UINT first = dialog.form.Dpi();
    for (const UINT dpi : {first, 2 * first}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 100, 100};
        if (dpi != first) {
            const auto rect = reinterpret_cast<LPARAM>(&suggested);
            ::SendMessageW(dialogWindow, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), rect);
        }
        const auto scaled = [dpi](int pixels) { return Scale(pixels, dpi); };
        const HWND label = dialog.form.Item(kCaption);
        const RECT caption = InParent(label);
        EXPECT_EQ(caption.left, scaled(4));
        EXPECT_EQ(caption.right - caption.left, TextWidth(label));
        EXPECT_GT(TextWidth(label), scaled(10));
        RECT dropped{};
        ::SendMessageW(dialog.form.Item(kList), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        EXPECT_GE(dropped.bottom - dropped.top, scaled(200) - scaled(21));  // in whole entries
        LOGFONTW font{}, expected{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font, &font);
        ::GetObjectW(CreateDialogFont(dpi).get(), sizeof expected, &expected);
        EXPECT_EQ(font.lfHeight, expected.lfHeight);
        RECT client{}, display{};
        ::GetClientRect(dialogWindow, &client);
        EXPECT_EQ(client.right, scaled(216));
        EXPECT_EQ(client.bottom, scaled(136));
        const HWND tabs = dialog.form.Item(kTabs);
        ::GetClientRect(tabs, &display);
        TabCtrl_AdjustRect(tabs, FALSE, &display);
        ::MapWindowPoints(tabs, dialogWindow, reinterpret_cast<POINT*>(&display), 2);
        const RECT page = InParent(::GetParent(label));
        EXPECT_TRUE(::EqualRect(&page, &display));
        for (const auto& [type, side] : {std::pair{ICON_SMALL, 16}, {ICON_BIG, 32}})
            EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::SendMessageW(dialogWindow, WM_GETICON, type, 0))),
                      scaled(side))
                << "the program's icon on the caption";
    }
    const HWND loud = dialog.form.Item(kLoud);
    ::SendMessageW(loud, BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog.record.loud);
    dialog.record.loud = false;
    ::SendMessageW(::GetParent(loud), WM_COMMAND, MAKEWPARAM(kLoud, BN_KILLFOCUS), reinterpret_cast<LPARAM>(loud));
    EXPECT_FALSE(dialog.record.loud) << "only a click sets the field";
    dialog.form.Show<Record>(kRows, dialog.record);
    EXPECT_EQ(::SendMessageW(loud, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

}  // namespace
}  // namespace orvalet::win32
