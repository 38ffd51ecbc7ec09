#include "settings/win32/options_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "base/decimal_text.h"
#include "base/win32/dialog_look_win.h"
#include "base/win32/dialog_template.h"
#include "base/win32/dpi_win.h"
#include "base/win32/system_function_win.h"
#include "rendering/graph_labels.h"
#include "rendering/units.h"
#include "rendering/win32/surface_win.h"
#include "settings/win32/color_preview_win.h"

namespace orvalet::win32 {
namespace {

using enum OptionsControl;

constexpr wchar_t kCaption[] = L"Orvalet Options";
constexpr int kClientWidth = 386;
constexpr int kClientHeight = 246;
constexpr int kColorItemHeight = 13;
constexpr int kThumbLength = 16;
constexpr int kTickFrequency = 32;
constexpr int kPaintBoxInset = 2;  // the panel's bevel and border around its paint box

constexpr std::array<const wchar_t*, kOptionsPageCount> kPageCaptions{L"General", L"Window", L"Graph", L"Fonts",
                                                                      L"Colors"};

// A function of the common controls library, which the dialog has loaded.
template <typename Fn>
Fn CommonControlsFunction(const char* name) {
    return ModuleFunction<Fn>(LoadCommonControlsLibrary(), name);
}

}  // namespace

ModalResult ShowOptionsDialog(HWND owner, const OptionsRecords& records, const OptionsDialogHost& host) {
    InitCommonControlClasses(ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES);
    TOVL_Options dialog(records, host);
    return dialog.ShowModal(owner);
}

std::int32_t ChooseColorDialog(HWND owner, std::int32_t preset) {
    // The custom colours the user mixed stay for the program's run.
    static std::array<COLORREF, 16> customColors = [] {
        std::array<COLORREF, 16> white{};
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = static_cast<COLORREF>(preset);
    choose.lpCustColors = customColors.data();
    choose.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
    static const auto chooseColor = OnDemandSystemFunction<decltype(&::ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    return chooseColor && chooseColor(&choose) ? static_cast<std::int32_t>(choose.rgbResult) : preset;
}

TOVL_Options::TOVL_Options(const OptionsRecords& records, const OptionsDialogHost& host)
    : FRecords(records), FHost(host), FChangeState([this](bool changed) {
          const HWND apply = FForm.Item(ApplyBtn);
          // A button that loses its use also gives up the focus.
          if (!changed && ::GetFocus() == apply) ::SendMessageW(Handle(), WM_NEXTDLGCTL, 0, FALSE);
          ::EnableWindow(apply, changed);
      }),
      FForm(OptionsDialogRows(),
            {.clientWidth = kClientWidth,
             .clientHeight = kClientHeight,
             .pageCaptions = kPageCaptions,
             // Every control but the second radio button starts a group of its
             // own, so the arrow keys move only between the two radio buttons.
             .controlStyle = WS_GROUP | WS_CLIPSIBLINGS,
             .createCustom = [this](const ControlLayout&, HWND parent,
                                    const RECT& bounds) { return CreateColorsPanel(parent, bounds); },
             .layOut = [this](UINT dpi) { LayOutColorsPanel(dpi); },
             .nameControl = host.nameControl}) {}

TOVL_Options::~TOVL_Options() = default;

ModalResult TOVL_Options::ShowModal(HWND owner) {
    const ThreadDpiAwarenessScope perMonitor(ThreadDpiAwarenessScope::PerMonitorAware());
    const DialogTemplate form(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, kCaption);
    const INT_PTR result = RunModalDialog(owner, form.Get());
    return result == static_cast<INT_PTR>(ModalResult::OK) ? ModalResult::OK : ModalResult::Cancel;
}

LRESULT TOVL_Options::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FForm.HandleMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_INITDIALOG:
            FormCreate();
            return FALSE;  // the focus is set
        case WM_COMMAND:
            OnCommand(static_cast<OptionsControl>(LOWORD(wParam)), HIWORD(wParam));
            OnEdit(message, wParam, lParam);
            return 0;
        case WM_HSCROLL: OnEdit(message, wParam, lParam); return 0;
        case WM_NOTIFY: return 0;
        case WM_CLOSE: ::EndDialog(Handle(), static_cast<INT_PTR>(ModalResult::Cancel)); return 0;
        case WM_DESTROY: return 0;
        default: return DefaultHandling(message, wParam, lParam);
    }
}

// ---- Creation and layout ----------------------------------------------------------

void TOVL_Options::FormCreate() {
    FRecords.pending = FRecords.inForce;
    if (!FForm.Open(Handle())) {
        ::EndDialog(Handle(), static_cast<INT_PTR>(ModalResult::Cancel));
        return;
    }
    const HWND trackBar = FForm.Item(TV_TrackBar);
    ::SendMessageW(trackBar, TBM_SETRANGEMIN, FALSE, kTransparencyMin);
    ::SendMessageW(trackBar, TBM_SETRANGEMAX, FALSE, kTransparencyMax);
    ::SendMessageW(trackBar, TBM_SETTICFREQ, kTickFrequency, 0);
    static const auto subclass = CommonControlsFunction<decltype(&::SetWindowSubclass)>("SetWindowSubclass");
    if (subclass) subclass(FForm.Item(ColorsListBox), &ColorsListBoxKeys, 0, reinterpret_cast<DWORD_PTR>(this));
    ShowOptions();
    SetOptionsChanged(false);
}

// The colour preview: a paint box in a panel. Null when either is missing.
HWND TOVL_Options::CreateColorsPanel(HWND parent, const RECT& bounds) {
    FColorsPanel = std::make_unique<ColorsPanelWindow>();
    FColorsPanel->Create(parent, static_cast<int>(ColorsPanel), bounds);
    FColorsPaintBox = std::make_unique<ColorPaintBoxWindow>();
    FColorsPaintBox->Create(FColorsPanel->Handle(), static_cast<int>(ColorsPaintBox),
                            [this] { ColorsPaintBoxClick(); });
    return FColorsPaintBox->Handle() ? FColorsPanel->Handle() : nullptr;
}

// The metrics of the track bar and the colour list, and the paint box
// within its panel.
void TOVL_Options::LayOutColorsPanel(UINT dpi) {
    ::SendMessageW(FForm.Item(TV_TrackBar), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Scale(kThumbLength, dpi)), 0);
    // After the font, which sets the item height too.
    ::SendMessageW(FForm.Item(ColorsListBox), LB_SETITEMHEIGHT, 0, Scale(kColorItemHeight, dpi));
    const int inset = Scale(kPaintBoxInset, dpi);
    RECT panel{};
    ::GetClientRect(FColorsPanel->Handle(), &panel);
    ::SetWindowPos(FColorsPaintBox->Handle(), nullptr, inset, inset, panel.right - 2 * inset,
                   panel.bottom - 2 * inset, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Showing the options ------------------------------------------------------------

void TOVL_Options::SetOptionsChanged(bool value) { FChangeState.SetOptionsChanged(value); }

void TOVL_Options::ShowOptions() {
    std::vector<std::wstring> units;
    for (int unit = 0; unit < kDisplayUnitCount; ++unit) units.push_back(UnitCaption(unit));
    FForm.Fill(UDDUnitCombo, units);
    FForm.Fill(MVDUnitCombo, units);
    const std::vector<std::wstring> names = HorizontalFontNames(FHost.fontNames());
    std::vector<std::wstring> sizes;
    for (const std::int32_t size : GR_FontSizes) sizes.push_back(DecimalText(size));
    for (const OptionsControl id : {UDFontName_Combo, MVFontName_Combo, IFNameFontName_Combo})
        FForm.Fill(id, names);
    for (const OptionsControl id : {UDFontSize_Combo, MVFontSize_Combo, IFNameFontSize_Combo})
        FForm.Fill(id, sizes);

    FForm.Show(OptionsDialogRows(), FRecords.pending);
    ShowPercentDisplay(FRecords.pending.TransparencyValue);
    ShowWindowPageEnabling();
    FForm.SetState(ColorsListBox, 0);
    ShowSelectedColor();
}

void TOVL_Options::ShowWindowPageEnabling() {
    const auto checked = [this](OptionsControl id) { return FForm.State(id) != 0; };
    const WindowPageEnabling enabled =
        EnabledWindowControls(checked(ChkTransparency), checked(ChkFadingEnabled), checked(ChkMouseFadingEnabled));
    for (const OptionsControl id : {TV_PercentDisplay, TV_TrackBar, ChkClickThroughEnabled, ChkFadingEnabled})
        ::EnableWindow(FForm.Item(id), enabled.transparencyDependents);
    ::EnableWindow(FForm.Item(ChkMouseFadingEnabled), enabled.mouseFading);
    ::EnableWindow(FForm.Item(RadioFadein), enabled.fadeDirection);
    ::EnableWindow(FForm.Item(RadioFadeout), enabled.fadeDirection);
}

void TOVL_Options::ShowPercentDisplay(std::int32_t transparencyValue) {
    FForm.SetText(TV_PercentDisplay, PercentVisibleText(transparencyValue));
}

void TOVL_Options::ShowSelectedColor() {
    FColorsPaintBox->SetColor(GetListColor(FRecords.pending.Colors, FForm.State(ColorsListBox)));
}

// Enter and Space on the colour list open the colour dialog, as a click on
// the preview does.
LRESULT CALLBACK TOVL_Options::ColorsListBoxKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR subclass, DWORD_PTR dialog) noexcept {
    static const auto next = CommonControlsFunction<decltype(&::DefSubclassProc)>("DefSubclassProc");
    static const auto remove = CommonControlsFunction<decltype(&::RemoveWindowSubclass)>("RemoveWindowSubclass");
    if (message == WM_NCDESTROY) remove(list, &ColorsListBoxKeys, subclass);
    std::optional<LRESULT> result;
    RunGuarded([&] {
        result = OpenOnKey(message, wParam, lParam, [dialog] {
            reinterpret_cast<TOVL_Options*>(dialog)->ColorsPaintBoxClick();
        });
    });
    return result ? *result : next(list, message, wParam, lParam);
}

// ---- Handlers ---------------------------------------------------------------------

void TOVL_Options::OnCommand(OptionsControl id, UINT code) {
    switch (id) {
        case OKBtn: if (code == BN_CLICKED) OKBtnClick(); return;
        case ApplyBtn: if (code == BN_CLICKED) ApplyBtnClick(); return;
        case CancelBtn:
            if (code == BN_CLICKED) ::EndDialog(Handle(), static_cast<INT_PTR>(ModalResult::Cancel));
            return;
        case FontsReset_Btn: if (code == BN_CLICKED) FontsReset_BtnClick(); return;
        case ColorsReset_Btn: if (code == BN_CLICKED) ColorsReset_BtnClick(); return;
        case ColorsListBox:
            if (code == LBN_SELCHANGE) ColorsListBoxClick();
            if (code == LBN_DBLCLK) ColorsPaintBoxClick();
            return;
        default: return;
    }
}

// A check box, radio button, list or the track bar the user set: its option
// takes the new value. Enter and Escape arrive as IDOK and IDCANCEL, which
// no control has.
void TOVL_Options::OnEdit(UINT message, WPARAM wParam, LPARAM lParam) {
    const OptionsRow* row = FForm.Store(OptionsDialogRows(), message, wParam, lParam, FRecords.pending);
    if (!row) return;
    const auto id = static_cast<OptionsControl>(row->id);
    if (id == ChkTransparency || id == ChkFadingEnabled || id == ChkMouseFadingEnabled) ShowWindowPageEnabling();
    if (id == TV_TrackBar) ShowPercentDisplay(FRecords.pending.TransparencyValue);
    SetOptionsChanged(true);
}

// The owner's code runs with the DPI awareness it was written for, so that
// it sees its own windows' coordinates as it always does.
void TOVL_Options::ApplyBtnClick() {
    if (FHost.applyOptions) {
        const ThreadDpiAwarenessScope asOwner(ThreadDpiAwarenessScope::OfWindow(::GetWindow(Handle(), GW_OWNER)));
        FHost.applyOptions();
    }
    SetOptionsChanged(false);
}

// Closes with OK only when there is something left to apply.
void TOVL_Options::OKBtnClick() { ::EndDialog(Handle(), static_cast<INT_PTR>(FChangeState.OKResult())); }

void TOVL_Options::FontsReset_BtnClick() {
    FRecords.pending.Fonts = GR_DefaultFonts;
    FForm.Show(OptionsDialogRows(), FRecords.pending);
    SetOptionsChanged(true);
}

void TOVL_Options::ColorsReset_BtnClick() {
    FRecords.pending.Colors = GR_DefaultColors;
    ShowSelectedColor();
    SetOptionsChanged(true);
}

// Choosing an entry only shows its colour; it changes nothing.
void TOVL_Options::ColorsListBoxClick() { ShowSelectedColor(); }

// The entry takes whatever the colour dialog holds when it closes, which is
// the preset after Cancel; the dialog counts as changed either way.
void TOVL_Options::ColorsPaintBoxClick() {
    const int index = FForm.State(ColorsListBox);
    const std::int32_t preset = GetListColor(FRecords.pending.Colors, index);
    const std::int32_t chosen = FHost.chooseColor(Handle(), preset);
    SetListColor(FRecords.pending.Colors, index, chosen);
    ShowSelectedColor();
    SetOptionsChanged(true);
}

}  // namespace orvalet::win32
