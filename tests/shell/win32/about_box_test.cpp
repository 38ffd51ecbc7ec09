#include "shell/about/win32/about_box_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win32/dialog_look_win.h"
#include "base/win32/dpi_win.h"
#include "shell/about/about_box.h"
#include "shell/about/project_links.h"
#include "support/screen_capture_win.h"

namespace orvalet::win32 {
namespace {

std::wstring Text(HWND window) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(window, text, 4096);
    return text;
}

LONG Width(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    return rect.right - rect.left;
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

TOVL_About* shownBox = nullptr;
HWND clickedLink = nullptr;

void CheckTheShownBox() {
    TOVL_About& box = *shownBox;
    EXPECT_EQ(Text(box.Handle()), L"About Orvalet");
    // "Tahoma", or the system's message font where Tahoma is missing.
    LOGFONTW dialogFont{};
    ::GetObjectW(CreateDialogFont(kDefaultDpi).get(), sizeof dialogFont, &dialogFont);
    const wchar_t* const dialogFace = dialogFont.lfFaceName;
    const struct {
        AboutControl id;
        std::wstring text;
        const wchar_t* face;
        bool boldOrUnderlined;
    } controls[] = {
        {Orvalet_Label, L"Orvalet 2.1.0 (64-bit)", dialogFace, true},
        {BuildDate_Label, L"Build date: October 31, 2019", dialogFace, false},
        {Author_Label, kCreditLine, dialogFace, false},
        {FreeSoftware_Label, kDistributionLine, dialogFace, false},
        {Memo1, std::wstring(LicenceMemoText()), L"Consolas", false},
        {URL_Label, kWebPageAddress, dialogFace, true},
        {Email_Label, kEmailAddress, dialogFace, true},
        {Button1, L"OK", dialogFace, false},
    };
    for (const auto& c : controls) {
        const HWND control = box.Control(c.id);
        ASSERT_TRUE(control) << c.id;
        EXPECT_EQ(Text(control), c.text) << c.id;
        const LOGFONTW font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, c.face) << c.id;
        EXPECT_EQ(font.lfWeight == FW_BOLD || font.lfUnderline, c.boldOrUnderlined) << c.id;
        if (c.id == Memo1) continue;
        // Every label and the button show their whole text.
        const WindowDC dc(control);
        const auto selected = Select(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc.get(), c.text.c_str(), static_cast<int>(c.text.size()), &extent);
        EXPECT_GE(Width(control), extent.cx) << c.id;
    }

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

// Once the box has been on the screen for a moment: photographed, checked
// and closed with Enter, which reaches the focused OK button.
void CALLBACK PhotographCheckAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (!shownBox->Handle()) return;
    RECT frame{};
    ::GetWindowRect(shownBox->Handle(), &frame);
    EXPECT_TRUE(testing::SaveScreenArea(frame, ORVALET_TEST_OUTPUT_DIR "/about_box.bmp"));
    CheckTheShownBox();
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
}

TEST(AboutBox, ShowsItsTextsAndOpensItsLinksAfterTurningThemNavy) {
    using Opened = std::pair<std::wstring, COLORREF>;  // the address, and the link's colour then
    std::vector<Opened> opened;
    AboutBoxServices services;
    services.openAddress = [&](HWND, const std::wstring& address) {
        opened.emplace_back(address, clickedLink ? TextColorOf(clickedLink) : CLR_INVALID);
    };
    TOVL_About box(services);
    shownBox = &box;
    ASSERT_TRUE(::SetTimer(nullptr, 0, 500, &PhotographCheckAndClose));
    const INT_PTR result = box.ShowModal(nullptr);
    shownBox = nullptr;
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(box.Handle());
    EXPECT_EQ(opened, (std::vector<Opened>{{kWebPageAddress, kVisitedLinkColor},
                                           {kEmailAddress, kVisitedLinkColor},
                                           {kDonationAddress, CLR_INVALID}}))
        << "a link is navy before the shell opens it";
}

std::vector<COLORREF> seenColors;

void CALLBACK LookAtTheColoursAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    for (const AboutControl id : {Orvalet_Label, Author_Label, Memo1, URL_Label, Email_Label})
        seenColors.push_back(TextColorOf(shownBox->Control(id)));
    ::EndDialog(shownBox->Handle(), IDOK);
}

// With a high-contrast theme, here a dark one, the title, the texts, the
// memo and the links take the system's colours instead of their own.
TEST(AboutBox, AHighContrastThemeGivesEveryTextTheSystemsColours) {
    const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HOTLIGHT};
    COLORREF saved[3];
    for (int i = 0; i < 3; ++i) saved[i] = ::GetSysColor(elements[i]);
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0)};
    ::SetSysColors(3, elements, dark);
    TOVL_About box({.openAddress = [](HWND, const std::wstring&) {}, .highContrast = [] { return true; }});
    shownBox = &box;
    seenColors.clear();
    ::SetTimer(nullptr, 0, 200, &LookAtTheColoursAndClose);
    box.ShowModal(nullptr);
    shownBox = nullptr;
    ::SetSysColors(3, elements, saved);
    const COLORREF white = RGB(255, 255, 255), yellow = RGB(255, 255, 0);
    EXPECT_EQ(seenColors, (std::vector<COLORREF>{white, white, white, yellow, yellow}));
}

}  // namespace
}  // namespace orvalet::win32
