#pragma once
// The Colors page's preview of the chosen entry's colour: a paint box filled
// with the colour inside a panel with a raised bevel. A click on the paint
// box, or Space or Enter while it has the focus, opens the colour dialog.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "base/win32/base_window.h"

namespace orvalet::win32 {

// Enter and Space on a control that opens the colour dialog, for its window
// procedure. The control claims both keys and their characters from the
// dialog manager, which would hand Enter to the dialog and take a character
// for a mnemonic; it opens on the first press of either key and swallows the
// rest. The message's result when it is one of these.
std::optional<LRESULT> OpenOnKey(UINT message, WPARAM wParam, LPARAM lParam, const std::function<void()>& open);

// A parent of controls for the dialog manager, which tabs into the paint box.
class ColorsPanelWindow final : public BaseWindow<ColorsPanelWindow> {
public:
    static const wchar_t* ClassName() { return L"OrvaletColorsPanel"; }
    static void CustomizeClass(WNDCLASSEXW& windowClass);

    bool Create(HWND parent, int id, const RECT& bounds);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void ColorsPanelPaint(HDC dc) const;
};

class ColorPaintBoxWindow final : public BaseWindow<ColorPaintBoxWindow> {
public:
    static const wchar_t* ClassName() { return L"OrvaletColorPaintBox"; }

    bool Create(HWND parent, int id, std::function<void()> onClick);
    void SetColor(std::int32_t color);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void ColorsPaintBoxPaint(HDC dc) const;
    // A click is a press and a release over the paint box.
    LRESULT ReleaseClick(LPARAM lParam);

    std::function<void()> onClick_;
    std::int32_t color_ = 0;
    bool pressed_ = false;
};

}  // namespace orvalet::win32
