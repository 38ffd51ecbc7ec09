#pragma once
// The Colors page's preview of the chosen entry's colour: a paint box filled
// with the colour inside a panel with a raised bevel. A click on the paint
// box opens the colour dialog.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "base/win32/base_window.h"

namespace orvalet::win32 {

class ColorsPanelWindow final : public BaseWindow<ColorsPanelWindow> {
public:
    static const wchar_t* ClassName() { return L"OrvaletColorsPanel"; }
    static void CustomizeClass(WNDCLASSEXW& windowClass);

    bool Create(HWND parent, int id, const RECT& bounds);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
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
