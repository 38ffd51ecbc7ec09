#include "shell/win32/about_box_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/win32/dpi_win.h"
#include "shell/about_texts.h"
#include "shell/project_links.h"
#include "support/screen_capture_win.h"

namespace orvalet::win32 {
namespace {

std::wstring Text(HWND window) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(window, text, 4096);
    return text;
}

// The control's bounds in its parent's client area.
RECT BoundsInParent(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

COLORREF TextColorOf(HWND control) {
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    ::SendMessageW(::GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                   reinterpret_cast<LPARAM>(control));
    return ::GetTextColor(dc.get());
}

bool ShowsHandCursor(HWND control) {
    ::SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor() == ::LoadCursorW(nullptr, IDC_HAND);
}

void Click(HWND control) {
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::SendMessageW(control, WM_LBUTTONUP, 0, 0);
}

struct Opened {
    std::wstring address;
    COLORREF linkColor;
};

TOVL_About* shownBox = nullptr;
HWND clickedLink = nullptr;

void CheckTheShownBox() {
    TOVL_About& box = *shownBox;
    const UINT dpi = WindowDpi(box.Handle());
    EXPECT_EQ(Text(box.Handle()), L"About Orvalet");
    RECT client{};
    ::GetClientRect(box.Handle(), &client);
    EXPECT_EQ(client.right, Scale(344, dpi));
    EXPECT_EQ(client.bottom, Scale(277, dpi));

    const struct {
        AboutControl id;
        std::wstring text;
        RECT bounds;
        const wchar_t* face;
        int height;
        bool boldOrUnderlined;
    } controls[] = {
        {Orvalet_Label, L"Orvalet 2.1.0 (64-bit)", {10, 10, 102, 18}, L"Tahoma", 15, true},
        {BuildDate_Label, L"Build date: October 31, 2019", {10, 35, 51, 13}, L"Tahoma", 11, false},
        {Author_Label, kCreditLine, {10, 54, 194, 13}, L"Tahoma", 11, false},
        {FreeSoftware_Label, kDistributionLine, {10, 73, 130, 13}, L"Tahoma", 11, false},
        {Memo1, std::wstring(LicenceMemoText()), {10, 98, 303, 87}, L"Consolas", 11, false},
        {URL_Label, kWebPageAddress, {10, 191, 199, 13}, L"Tahoma", 11, true},
        {Email_Label, kEmailAddress, {10, 207, 123, 13}, L"Tahoma", 11, true},
        {PayPal_Image, L"", {248, 191, 65, 33}, nullptr, 0, false},
        {Button1, L"OK", {130, 247, 75, 25}, L"Tahoma", 11, false},
        {Panel1, L"", {8, 8, 328, 233}, nullptr, 0, false},
    };
    for (const auto& c : controls) {
        const HWND control = box.Control(c.id);
        ASSERT_TRUE(control) << c.id;
        EXPECT_EQ(Text(control), c.text) << c.id;
        const RECT b = BoundsInParent(control);
        EXPECT_EQ(b.left, Scale(c.bounds.left, dpi)) << c.id;
        EXPECT_EQ(b.top, Scale(c.bounds.top, dpi)) << c.id;
        EXPECT_EQ(b.bottom, Scale(c.bounds.bottom, dpi)) << c.id;
        const bool label = c.face && c.id != Memo1 && c.id != Button1;
        if (!label) {
            EXPECT_EQ(b.right, Scale(c.bounds.right, dpi)) << c.id;
        }
        if (!c.face) continue;
        const LOGFONTW font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, c.face) << c.id;
        EXPECT_EQ(font.lfHeight, -Scale(c.height, dpi)) << c.id;
        EXPECT_EQ(font.lfWeight == FW_BOLD || font.lfUnderline, c.boldOrUnderlined) << c.id;
        if (!label) continue;
        // A label is as wide as designed, or as its text where that is wider.
        const WindowDC dc(control);
        const auto selected = Select(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc.get(), c.text.c_str(), static_cast<int>(c.text.size()), &extent);
        EXPECT_EQ(b.right, std::max<LONG>(extent.cx, Scale(c.bounds.right, dpi))) << c.id;
    }
    EXPECT_EQ(TextColorOf(box.Control(Orvalet_Label)), RGB(0, 0, 0));

    for (const AboutControl link : {URL_Label, Email_Label, PayPal_Image})
        EXPECT_TRUE(ShowsHandCursor(box.Control(link))) << link;
    EXPECT_FALSE(ShowsHandCursor(box.Control(Author_Label)));

    for (const AboutControl link : {URL_Label, Email_Label}) {
        EXPECT_EQ(TextColorOf(box.Control(link)), kLinkColor) << link;
        clickedLink = box.Control(link);
        Click(clickedLink);
        EXPECT_EQ(TextColorOf(box.Control(link)), kVisitedLinkColor) << link;
    }
    clickedLink = nullptr;
    Click(box.Control(PayPal_Image));
    EXPECT_EQ(TextColorOf(box.Control(URL_Label)), kVisitedLinkColor) << "a visited link stays navy";
}

// Once the box has been on the screen for a moment, it is photographed and closed.
void CALLBACK PhotographAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    RECT frame{};
    ::GetWindowRect(shownBox->Handle(), &frame);
    EXPECT_TRUE(testing::SaveScreenArea(frame, ORVALET_TEST_OUTPUT_DIR "/about_box.bmp"));
    // Enter reaches the focused OK button through the dialog manager.
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
}

void CALLBACK RunChecks(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (!shownBox->Handle()) return;
    CheckTheShownBox();
    ::SetTimer(nullptr, 0, 300, &PhotographAndClose);
}

TEST(AboutBox, ShowsItsTextsAtTheirBoundsAndOpensItsLinksAfterTurningThemNavy) {
    std::vector<Opened> addresses;
    TOVL_About box({[&](const std::wstring& address) {
        addresses.push_back({address, clickedLink ? TextColorOf(clickedLink) : CLR_INVALID});
    }});
    shownBox = &box;
    ASSERT_TRUE(::SetTimer(nullptr, 0, 200, &RunChecks));
    const INT_PTR result = box.ShowModal(nullptr);
    shownBox = nullptr;
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(box.Handle());

    ASSERT_EQ(addresses.size(), 3u);
    EXPECT_EQ(addresses[0].address, kWebPageAddress);
    EXPECT_EQ(addresses[0].linkColor, kVisitedLinkColor) << "navy before the shell opens it";
    EXPECT_EQ(addresses[1].address, kEmailAddress);
    EXPECT_EQ(addresses[1].linkColor, kVisitedLinkColor);
    EXPECT_EQ(addresses[2].address, kDonationAddress);
}

}  // namespace
}  // namespace orvalet::win32
