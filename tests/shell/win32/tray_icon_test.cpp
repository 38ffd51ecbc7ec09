#include "shell/tray/win32/tray_icon_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <memory>
#include <string>

namespace orvalet::win32 {
namespace {

// One icon for all checks: removing an icon costs seconds under Wine.
TEST(TrayIcon, KeepsTheHintCutTakesItsOwnPictureAndSurvivesReinstating) {
    const UniqueWindow owner(::CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                               nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);
    auto tray = std::make_unique<TrayIcon>(owner.get(), WM_APP + 7, ::LoadIconW(nullptr, IDI_APPLICATION));
    TrayIcon& icon = *tray;
    EXPECT_TRUE(icon.IsShown());

    icon.SetHint(std::wstring(200, L'h') + L"\rname");
    EXPECT_EQ(icon.Hint(), std::wstring(127, L'h'));
    icon.SetHint(L"\u25bc 1 KiB/s | \u25b2 2 KiB/s\rEthernet");
    EXPECT_EQ(icon.Hint(), L"\u25bc 1 KiB/s | \u25b2 2 KiB/s\rEthernet");
    const unsigned long updates = icon.Updates();
    icon.SetHint(L"\u25bc 1 KiB/s | \u25b2 2 KiB/s\rEthernet");  // unchanged: the shell is not asked
    EXPECT_EQ(icon.Updates(), updates);

    UniqueIcon picture(::CopyIcon(::LoadIconW(nullptr, IDI_ERROR)));
    icon.SetIcon(picture.get());
    EXPECT_EQ(icon.Updates(), updates + 1);
    picture.reset();  // the caller's picture may go away at once

    // The shell broadcasts "TaskbarCreated" also when its icons survived;
    // adding again fails then, and the icon must not count itself as gone.
    icon.Reinstate();
    EXPECT_TRUE(icon.IsShown());
    EXPECT_EQ(icon.Hint(), L"\u25bc 1 KiB/s | \u25b2 2 KiB/s\rEthernet");
    EXPECT_NE(TrayIcon::TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(TrayIcon::TaskbarCreatedMessage(), ::RegisterWindowMessageW(L"TaskbarCreated"));

    // One failed modify must not leave a ghost icon behind at exit.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner.get();
    data.uID = 1;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    icon.SetHint(L"modify fails");
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_ADD, &data)) << "the shell holds the icon again";
    tray.reset();
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &data)) << "the icon is gone";
}

TEST(TrayIcon, DecodesVersion4CallbacksIntoClicksAndContextMenus) {
    const WPARAM anchor = MAKEWPARAM(static_cast<WORD>(-5), 700);
    const auto decoded = TrayIcon::DecodeCallback(anchor, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_EQ(decoded.anchor.x, -5);
    EXPECT_EQ(decoded.anchor.y, 700);
    const struct {
        UINT message;
        TrayIconEvent event;
    } cases[] = {{NIN_SELECT, TrayIconEvent::Click},
                 {NIN_KEYSELECT, TrayIconEvent::Click},
                 {WM_CONTEXTMENU, TrayIconEvent::ContextMenu},
                 {WM_MOUSEMOVE, TrayIconEvent::None},
                 {WM_LBUTTONDOWN, TrayIconEvent::None}};
    for (const auto& c : cases)
        EXPECT_EQ(TrayIcon::DecodeCallback(anchor, MAKELPARAM(c.message, 1)).event, c.event) << c.message;
}

}  // namespace
}  // namespace orvalet::win32
