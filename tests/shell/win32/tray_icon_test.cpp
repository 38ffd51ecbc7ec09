#include "shell/win32/tray_icon_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

namespace orvalet::win32 {
namespace {

constexpr UINT kCallback = WM_APP + 7;

// A plain hidden top-level window to own the icons.
UniqueWindow CreateOwner() {
    return UniqueWindow(::CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr));
}

TEST(TrayIcon, IsAddedOnConstructionAndKeepsTheHintCutTo127Characters) {
    const UniqueWindow owner = CreateOwner();
    ASSERT_TRUE(owner);
    TTrayIcon icon(owner.get(), kCallback, ::LoadIconW(nullptr, IDI_APPLICATION));
    EXPECT_TRUE(icon.IsShown());

    icon.SetHint(std::wstring(200, L'h') + L"\rname");
    EXPECT_EQ(icon.Hint(), std::wstring(127, L'h'));
    icon.SetHint(L"\u25bc 1 KiB/s | \u25b2 2 KiB/s\rEthernet");
    EXPECT_EQ(icon.Hint(), L"\u25bc 1 KiB/s | \u25b2 2 KiB/s\rEthernet");
    EXPECT_TRUE(icon.IsShown());
}

TEST(TrayIcon, TakesItsOwnCopyOfEachPicture) {
    const UniqueWindow owner = CreateOwner();
    TTrayIcon icon(owner.get(), kCallback, nullptr);
    UniqueIcon picture(::CopyIcon(::LoadIconW(nullptr, IDI_ERROR)));
    icon.SetIcon(picture.get());
    picture.reset();  // the caller's picture may go away at once
    icon.Reinstate();
    EXPECT_TRUE(icon.IsShown());
}

TEST(TrayIcon, ReinstatingAnIconThatSurvivedKeepsItShown) {
    // The shell broadcasts "TaskbarCreated" also when its icons survived;
    // adding again fails then, and the icon must not count itself as gone.
    const UniqueWindow owner = CreateOwner();
    TTrayIcon icon(owner.get(), kCallback, ::LoadIconW(nullptr, IDI_APPLICATION));
    icon.SetHint(L"hint");
    icon.Reinstate();
    EXPECT_TRUE(icon.IsShown());
    EXPECT_EQ(icon.Hint(), L"hint");
    EXPECT_NE(TTrayIcon::TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(TTrayIcon::TaskbarCreatedMessage(), ::RegisterWindowMessageW(L"TaskbarCreated"));
}

TEST(TrayIcon, DecodesVersion4CallbacksIntoClicksAndContextMenus) {
    const WPARAM anchor = MAKEWPARAM(static_cast<WORD>(-5), 700);
    auto decoded = TTrayIcon::DecodeCallback(anchor, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_EQ(decoded.event, TrayIconEvent::Click);
    EXPECT_EQ(decoded.anchor.x, -5);
    EXPECT_EQ(decoded.anchor.y, 700);
    EXPECT_EQ(TTrayIcon::DecodeCallback(anchor, MAKELPARAM(NIN_KEYSELECT, 1)).event, TrayIconEvent::Click);
    EXPECT_EQ(TTrayIcon::DecodeCallback(anchor, MAKELPARAM(WM_CONTEXTMENU, 1)).event, TrayIconEvent::ContextMenu);
    EXPECT_EQ(TTrayIcon::DecodeCallback(anchor, MAKELPARAM(WM_MOUSEMOVE, 1)).event, TrayIconEvent::None);
    EXPECT_EQ(TTrayIcon::DecodeCallback(anchor, MAKELPARAM(WM_LBUTTONDOWN, 1)).event, TrayIconEvent::None);
}

}  // namespace
}  // namespace orvalet::win32
