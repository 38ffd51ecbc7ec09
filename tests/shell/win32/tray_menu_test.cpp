#include "shell/win32/tray_menu_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_interface_table.h"
#include "support/screen_capture_win.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::TestGuid;

const TIFList kInterfaces{{TestGuid(1), L"Ethernet"}, {TestGuid(2), L"Wi-Fi & Bluetooth"}};

TrayMenuActions MeterShownActions() {
    return {{L"Show Meter", 0, true, false},
            {L"Hide Meter", 1, true, true},
            {L"Options", 3, false, true},  // greyed, as while its dialog is open
            {L"About", 4, true, true},
            {L"Exit Orvalet", 5, true, true}};
}

TrayPopupMenu BuildMenu(const Guid& monitored, UINT dpi = 96) {
    return TrayPopupMenu(BuildTrayMenuEntries(MeterShownActions()), BuildInterfaceSubMenu(kInterfaces, monitored),
                         ActionImageList(::GetModuleHandleW(nullptr), dpi));
}

struct ReadItem {
    std::wstring caption;
    UINT id = 0, type = 0, state = 0;
    HBITMAP image = nullptr;
    HMENU subMenu = nullptr;
};

ReadItem Read(HMENU menu, int position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_BITMAP | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 127;
    EXPECT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info));
    return {text, info.wID, info.fType, info.fState, info.hbmpItem, info.hSubMenu};
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP header{};
    ::GetObjectW(bitmap, sizeof header, &header);
    return {header.bmWidth, header.bmHeight};
}

TEST(TrayMenu, RealMenuHoldsTheVisibleEntriesWithImagesAndOneRadioGroup) {
    const TrayPopupMenu menu = BuildMenu(TestGuid(2));
    ASSERT_EQ(::GetMenuItemCount(menu.Handle()), 7);  // Show Meter is invisible
    const struct {
        const wchar_t* caption;
        UINT id;
        bool grey;
    } expected[] = {{L"Hide Meter", kHideMeterCommand, false}, {L"", 0, false},
                    {L"Network Interface", 0, false},          {L"Options", kOptionsCommand, true},
                    {L"About", kAboutCommand, false},          {L"", 0, false},
                    {L"Exit Orvalet", kExitProgramCommand, false}};
    for (int i = 0; i < 7; ++i) {
        const ReadItem item = Read(menu.Handle(), i);
        EXPECT_EQ(item.caption, expected[i].caption) << i;
        EXPECT_EQ((item.type & MFT_SEPARATOR) != 0, expected[i].caption[0] == L'\0') << i;
        if (expected[i].id) {
            EXPECT_EQ(item.id, expected[i].id) << i;
        }
        EXPECT_EQ((item.state & MFS_GRAYED) != 0, expected[i].grey) << i;
        if (item.caption.empty()) continue;
        ASSERT_TRUE(item.image) << i;
        EXPECT_EQ(BitmapSize(item.image).cx, 18) << i;
    }
    EXPECT_EQ(Read(menu.Handle(), 2).subMenu, menu.InterfaceMenu());

    const HMENU sub = menu.InterfaceMenu();
    ASSERT_EQ(::GetMenuItemCount(sub), 4);
    const std::wstring captions[] = {L"All Hardware Interfaces", L"", L"Ethernet", L"Wi-Fi && Bluetooth"};
    for (int i = 0; i < 4; ++i) {
        const ReadItem item = Read(sub, i);
        EXPECT_EQ(item.caption, captions[i]) << i;
        if (i == 1) continue;
        EXPECT_TRUE(item.type & MFT_RADIOCHECK) << i;
        EXPECT_EQ((item.state & MFS_CHECKED) != 0, i == 3) << i;
    }
    EXPECT_EQ(Read(sub, 3).id, kFirstInterfaceCommand + 3);

    // The power button is red in its middle, opaque, and the images grow with the DPI.
    const TrayPopupMenu large = BuildMenu(AllHardwareInterfacesGUID, 192);
    const HBITMAP exitImage = Read(large.Handle(), 6).image;
    EXPECT_EQ(BitmapSize(exitImage).cx, 36);
    DIBSECTION dib{};
    ASSERT_EQ(::GetObjectW(exitImage, sizeof dib, &dib), static_cast<int>(sizeof dib));
    const auto pixel = static_cast<const std::uint32_t*>(dib.dsBm.bmBits)[4 * 36 + 18];  // a top-down DIB
    EXPECT_EQ(pixel >> 24, 0xFFu);
    EXPECT_GT((pixel >> 16) & 0xFF, 2 * ((pixel >> 8) & 0xFF));
    EXPECT_TRUE(Read(large.InterfaceMenu(), 0).state & MFS_CHECKED);
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
