#include "shell/tray/win32/tray_menu_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/menu_reader_win.h"
#include "support/screen_capture_win.h"
#include "support/scripted_interface_table.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::ReadMenu;
using orvalet::testing::TestGuid;

const TIFList kInterfaces{{TestGuid(1), L"Ethernet"}, {TestGuid(2), L"Wi-Fi & Bluetooth"}};

ActionList MeterShownActions() {
    ActionList actions;
    actions.UpdateMeterActions(true);
    actions.SetEnabled(ActionId::Options, false);  // as while its dialog is open
    return actions;
}

TrayPopupMenu BuildMenu(const Guid& monitored, UINT dpi = 96) {
    return TrayPopupMenu(BuildTrayMenuEntries(MeterShownActions()), BuildInterfaceSubMenu(kInterfaces, monitored),
                         ActionImageList(::GetModuleHandleW(nullptr), dpi));
}

DIBSECTION Image(HBITMAP bitmap) {
    DIBSECTION dib{};
    EXPECT_EQ(::GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    return dib;
}

// The captions, states and marks as the meter opens the menu are read back
// in the meter's own tests; here, what only the builder decides.
TEST(TrayMenu, EntriesCarryTheirImagesAtTheDpiAndTheInterfacesFormOneRadioGroup) {
    for (const UINT dpi : {96u, 192u}) {
        const TrayPopupMenu menu = BuildMenu(TestGuid(2), dpi);
        const auto items = ReadMenu(menu.Handle());
        ASSERT_EQ(items.size(), 7u) << "Show Meter is invisible";
        EXPECT_EQ(items[2].subMenu, menu.InterfaceMenu());
        for (const auto& item : items) {
            if (!item.IsSeparator()) {
                EXPECT_EQ(Image(item.image).dsBm.bmWidth, static_cast<LONG>(dpi * 18 / 96));
            }
        }
        // The power button is red below its symbol, and opaque.
        const BITMAP power = Image(items[6].image).dsBm;
        ASSERT_TRUE(power.bmBits);
        const int size = power.bmWidth;
        const auto pixel = static_cast<const std::uint32_t*>(power.bmBits)[size * 7 / 8 * size + size / 2];
        EXPECT_EQ(pixel >> 24, 0xFFu);
        EXPECT_GT((pixel >> 16) & 0xFF, 2 * ((pixel >> 8) & 0xFF));

        const auto interfaces = ReadMenu(menu.InterfaceMenu());
        ASSERT_EQ(interfaces.size(), 4u);
        for (std::size_t i : {0u, 2u, 3u}) EXPECT_TRUE(interfaces[i].type & MFT_RADIOCHECK) << i;
        EXPECT_EQ(interfaces[3].id, kFirstInterfaceCommand + 3);
    }
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
