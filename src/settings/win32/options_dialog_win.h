#pragma once
// "Orvalet Options": the modal dialog in which the user edits every setting
// but the window's place and the monitored interface, on five pages
// (General, Window, Graph, Fonts, Colors). It opens on a copy of the options
// in force, and every control writes its value into that copy at once; Apply
// and OK put them into force through the program that opened the dialog.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/accessible_names_win.h"
#include "base/win32/base_window.h"
#include "base/win32/dialog_form_win.h"
#include "rendering/win32/surface_win.h"
#include "settings/options.h"
#include "settings/options_dialog.h"
#include "settings/options_dialog_rows.h"

namespace orvalet::win32 {

// The records the dialog works on: the options in force, and the record it
// edits, which it sets to a copy of them as it opens.
struct OptionsRecords {
    const OVL_OptionsRecord& inForce;
    OVL_OptionsRecord& pending;
};

// The system's colour dialog, opened expanded with any colour allowed and
// the preset chosen; the preset again when the user cancels.
std::int32_t ChooseColorDialog(HWND owner, std::int32_t preset);

// What the dialog needs from the program that opens it; the colour dialog
// and the font list start out as the system's own.
struct OptionsDialogHost {
    // Puts the edited record into force: the main window's ApplyOptions action.
    std::function<void()> applyOptions;
    // Runs a colour selection modally, starting from the preset colour, and
    // returns the colour it holds when it closes: the preset after Cancel.
    std::function<std::int32_t(HWND owner, std::int32_t preset)> chooseColor = &ChooseColorDialog;
    // The screen font list: "Default" and every installed family, sorted.
    std::function<std::vector<std::wstring>()> fontNames = &InstalledFontNames;
    // Gives a control that no label names its name for screen readers.
    // Empty: the accessibility library's annotation (AccessibleNames).
    AccessibleNames::Annotate nameControl;
};

// Shows the dialog modally over the owner, centred on the owner's monitor.
// OK means the dialog closed holding changes not applied yet, which the
// opener then applies; a dialog that could not be shown counts as Cancel.
ModalResult ShowOptionsDialog(HWND owner, const OptionsRecords& records, const OptionsDialogHost& host);

class ColorsPanelWindow;
class ColorPaintBoxWindow;

class TOVL_Options final : public BaseWindow<TOVL_Options> {
public:
    TOVL_Options(const OptionsRecords& records, const OptionsDialogHost& host);
    ~TOVL_Options() override;

    ModalResult ShowModal(HWND owner);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void FormCreate();
    HWND CreateColorsPanel(HWND parent, const RECT& bounds);
    void LayOutColorsPanel(UINT dpi);

    void SetOptionsChanged(bool value);
    void ShowOptions();
    void ShowWindowPageEnabling();
    void ShowPercentDisplay(std::int32_t transparencyValue);
    void ShowSelectedColor();

    void OnCommand(OptionsControl id, UINT code);
    void OnEdit(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyBtnClick();
    void OKBtnClick();
    void FontsReset_BtnClick();
    void ColorsReset_BtnClick();
    void ColorsListBoxClick();
    void ColorsPaintBoxClick();

    static LRESULT CALLBACK ColorsListBoxKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR subclass, DWORD_PTR dialog) noexcept;

    OptionsRecords FRecords;
    const OptionsDialogHost& FHost;
    OptionsChangeState FChangeState;
    std::unique_ptr<ColorsPanelWindow> FColorsPanel;
    std::unique_ptr<ColorPaintBoxWindow> FColorsPaintBox;
    DialogForm FForm;
};

}  // namespace orvalet::win32
