#include "shell/win32/tray_menu_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/menu_reader_win.h"
#include "support/scripted_interface_table.h"
#include "support/screen_capture_win.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::MenuCaptions;
using orvalet::testing::ReadMenu;
using orvalet::testing::TestGuid;

const TIFList kInterfaces{{TestGuid(1), L"Ethernet"}, {TestGuid(2), L"Wi-Fi & Bluetooth"}};

TActionList MeterShownActions() {
    TActionList actions;
    actions.UpdateMeterActions(true);
    actions.SetEnabled(ActionId::Options, false);  // as while its dialog is open
    return actions;
}

TrayPopupMenu BuildMenu(const Guid& monitored, UINT dpi = 96) {
    return TrayPopupMenu(BuildTrayMenuEntries(MeterShownActions()), BuildInterfaceSubMenu(kInterfaces, monitored),
                         ActionImageList(::GetModuleHandleW(nullptr), dpi));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP header{};
    ::GetObjectW(bitmap, sizeof header, &header);
    return {header.bmWidth, header.bmHeight};
}

TEST(TrayMenu, RealMenuHoldsTheVisibleEntriesWithImagesAndOneRadioGroup) {
    const TrayPopupMenu menu = BuildMenu(TestGuid(2));
    const auto items = ReadMenu(menu.Handle());
    EXPECT_EQ(MenuCaptions(items), (std::vector<std::wstring>{L"Hide Meter", L"-", L"Network Interface", L"Options",
                                                              L"About", L"-", L"Exit Orvalet"}))
        << "Show Meter is invisible";
    ASSERT_EQ(items.size(), 7u);
    const UINT ids[] = {kHideMeterCommand, 0, 0, kOptionsCommand, kAboutCommand, 0, kExitProgramCommand};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].IsGrey(), i == 3) << i;
        if (items[i].IsSeparator()) continue;
        if (ids[i]) {
            EXPECT_EQ(items[i].id, ids[i]) << i;
        }
        ASSERT_TRUE(items[i].image) << i;
        EXPECT_EQ(BitmapSize(items[i].image).cx, 18) << i;
    }
    EXPECT_EQ(items[2].subMenu, menu.InterfaceMenu());

    const auto interfaces = ReadMenu(menu.InterfaceMenu());
    EXPECT_EQ(MenuCaptions(interfaces), (std::vector<std::wstring>{L"All Hardware Interfaces", L"-", L"Ethernet",
                                                                   L"Wi-Fi && Bluetooth"}));
    ASSERT_EQ(interfaces.size(), 4u);
    for (std::size_t i : {0u, 2u, 3u}) {
        EXPECT_TRUE(interfaces[i].type & MFT_RADIOCHECK) << i;
        EXPECT_EQ(interfaces[i].IsChecked(), i == 3) << i;
    }
    EXPECT_EQ(interfaces[3].id, kFirstInterfaceCommand + 3);

    // The power button is red in its middle, opaque, and the images grow with the DPI.
    const TrayPopupMenu large = BuildMenu(AllHardwareInterfacesGUID, 192);
    const HBITMAP exitImage = ReadMenu(large.Handle())[6].image;
    EXPECT_EQ(BitmapSize(exitImage).cx, 36);
    DIBSECTION dib{};
    ASSERT_EQ(::GetObjectW(exitImage, sizeof dib, &dib), static_cast<int>(sizeof dib));
    const auto pixel = static_cast<const std::uint32_t*>(dib.dsBm.bmBits)[4 * 36 + 18];  // a top-down DIB
    EXPECT_EQ(pixel >> 24, 0xFFu);
    EXPECT_GT((pixel >> 16) & 0xFF, 2 * ((pixel >> 8) & 0xFF));
    EXPECT_TRUE(ReadMenu(large.InterfaceMenu())[0].IsChecked());
}

// Steps run by a thread timer while the menu's own message loop runs.
struct MenuScript {
    int step = 0;
    bool saved = false;
    HWND owner = nullptr;
};
MenuScript* script = nullptr;

BOOL CALLBACK AddMenuWindow(HWND window, LPARAM area) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32768" || !::IsWindowVisible(window)) return TRUE;
    RECT rect{};
    ::GetWindowRect(window, &rect);
    auto* all = reinterpret_cast<RECT*>(area);
    ::UnionRect(all, all, &rect);
    return TRUE;
}

void PressKeys(HWND owner, std::initializer_list<WPARAM> keys) {
    for (const WPARAM key : keys) {
        ::PostMessageW(owner, WM_KEYDOWN, key, 1);
        ::PostMessageW(owner, WM_KEYUP, key, 0xC0000001);
    }
}

void CALLBACK RunMenuStep(HWND, UINT, UINT_PTR timer, DWORD) {
    if (script->step++ == 0) {
        PressKeys(script->owner, {VK_DOWN, VK_DOWN, VK_RIGHT});  // Hide Meter, Network Interface, open it
        return;
    }
    ::KillTimer(nullptr, timer);
    RECT menus{};
    ::EnumWindows(&AddMenuWindow, reinterpret_cast<LPARAM>(&menus));
    script->saved = testing::SaveScreenArea(menus, ORVALET_TEST_OUTPUT_DIR "/tray_menu_open.bmp");
    PressKeys(script->owner, {VK_DOWN, VK_RETURN});  // past the separator to "Ethernet"
}

TEST(TrayMenu, WorksFromTheKeyboardDownIntoTheInterfaceSubMenu) {
    const UniqueWindow owner(::CreateWindowExW(0, L"STATIC", L"menu owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                               nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);
    const TrayPopupMenu menu = BuildMenu(AllHardwareInterfacesGUID);
    MenuScript steps{0, false, owner.get()};
    script = &steps;
    ASSERT_TRUE(::SetTimer(nullptr, 0, 300, &RunMenuStep));
    const unsigned chosen = TrackTrayMenu(owner.get(), menu.Handle(), {200, 200});
    script = nullptr;
    EXPECT_EQ(chosen, kFirstInterfaceCommand + 2);
    EXPECT_EQ(steps.step, 2);
    EXPECT_TRUE(steps.saved);
}

}  // namespace
}  // namespace orvalet::win32
