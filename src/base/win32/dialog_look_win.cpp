#include "base/win32/dialog_look_win.h"

#include <cwchar>
#include <string>
#include <utility>

#include "base/decimal_text.h"
#include "base/win32/dialog_layout_win.h"
#include "base/win32/dpi_win.h"
#include "base/win32/system_function_win.h"

namespace orvalet::win32 {
namespace {

constexpr wchar_t kDialogFontFace[] = L"Tahoma";

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) noexcept {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontFamilyInstalled(const wchar_t* face) {
    const WindowDC screen(nullptr);
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    ::wcsncpy_s(wanted.lfFaceName, face, _TRUNCATE);
    bool found = false;
    if (screen) ::EnumFontFamiliesExW(screen.get(), &wanted, &NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    if (NonClientMetricsForDpi(dpi, metrics)) return metrics.lfMessageFont;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight =
        ::MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
    return metrics.lfMessageFont;
}

BOOL CALLBACK NoteFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) noexcept {
    try {
        *reinterpret_cast<std::wstring*>(first) =
            IS_INTRESOURCE(name) ? L"#" + DecimalText(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name);
    } catch (...) {
    }
    return FALSE;
}

// The first icon of the executable, which the shell shows for it too. Null
// when the executable has none.
UniqueIcon LoadProgramIcon(int size) {
    const HMODULE exe = ::GetModuleHandleW(nullptr);
    std::wstring name;
    ::EnumResourceNamesW(exe, RT_GROUP_ICON, &NoteFirstName, reinterpret_cast<LONG_PTR>(&name));
    if (name.empty()) return {};
    return UniqueIcon(static_cast<HICON>(::LoadImageW(exe, name.c_str(), IMAGE_ICON, size, size, 0)));
}

}  // namespace

UniqueFont CreateDialogFont(UINT dpi, int height, int weight, bool underline) {
    static const bool tahomaInstalled = FontFamilyInstalled(kDialogFontFace);
    if (tahomaInstalled) return CreateScaledFont(kDialogFontFace, height, dpi, weight, underline);
    LOGFONTW font = MessageFont(dpi);
    font.lfHeight = ::MulDiv(font.lfHeight, height, kDialogFontHeight);
    font.lfWeight = weight;
    font.lfUnderline = underline;
    return UniqueFont(::CreateFontIndirectW(&font));
}

// The caption keeps showing the old icons until WM_SETICON hands it the new
// ones, so the old are freed only after that.
void ProgramIcons::SetOn(HWND dialog, UINT dpi) {
    UniqueIcon small = LoadProgramIcon(Scale(16, dpi));
    UniqueIcon big = LoadProgramIcon(Scale(32, dpi));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    small_ = std::move(small);
    big_ = std::move(big);
}

void TakeOverDpiScaling(HWND dialog) {
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior =
        SystemFunction<SetDialogDpiChangeBehaviorFn>(L"user32.dll", "SetDialogDpiChangeBehavior");
    constexpr int disableAll = 1;  // DDC_DISABLE_ALL
    if (setBehavior) setBehavior(dialog, disableAll, disableAll);
}

UINT MoveForDpiChange(HWND dialog, WPARAM wParam, LPARAM lParam) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(dialog, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return HIWORD(wParam);
}

}  // namespace orvalet::win32
