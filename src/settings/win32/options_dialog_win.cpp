#include "settings/win32/options_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <optional>
#include <span>
#include <utility>

#include "base/win32/dialog_layout_win.h"
#include "base/win32/dialog_look_win.h"
#include "base/win32/dialog_template.h"
#include "base/win32/dpi_win.h"
#include "base/win32/system_function_win.h"
#include "rendering/graph_labels.h"
#include "rendering/units.h"
#include "rendering/win32/surface_win.h"
#include "settings/options.h"
#include "settings/win32/color_preview_win.h"

namespace orvalet::win32 {

// ---- The controls ------------------------------------------------------------

namespace {

using enum OptionsControl;

constexpr wchar_t kCaption[] = L"Orvalet Options";
constexpr int kClientWidth = 386;
constexpr int kClientHeight = 246;
constexpr int kDropDownHeight = 200;  // the open list below a drop-down's field
constexpr int kColorItemHeight = 13;
constexpr int kThumbLength = 16;
constexpr int kTickFrequency = 32;
constexpr int kPaintBoxInset = 2;  // the panel's bevel and border around its paint box
constexpr int kForm = -1;          // parent of a control that sits on no page

constexpr std::array<const wchar_t*, kOptionsPageCount> kPageCaptions{L"General", L"Window", L"Graph", L"Fonts",
                                                                      L"Colors"};

enum class Kind { Tab, Button, CheckBox, FirstRadio, Radio, Label, DropDownList, TrackBar, ListBox, Panel };

struct ControlLayout {
    OptionsControl id;
    int parent;  // an OptionsPage, or kForm
    Kind kind;
    const wchar_t* caption;
    DesignBounds bounds;
};

// Within each parent the order is the tab order, which the dialog manager
// takes from the z-order, i.e. the order of creation. The pages are created
// before all of these, so they lie over the tab control they sit in, which
// comes last: the tab order still runs tabs, page, OK, Apply, Cancel, as it
// wraps round.
//
// Three pairs of neighbours overlap by a few blank pixels at their given
// bounds; the first of each ends where the second begins, so that neither
// covers the other (the check boxes before the unit lists and the Italic
// boxes). The percentage label's last two rows lie over the track bar's
// first two, which are blank; the label comes first, so it is drawn on top.
//
// Windows' accessibility proxy (oleacc) names a list or a track bar after
// the static just before it in z-order, so each comes right after its label
// (Wine's proxy does so for edit boxes only). The lists with no caption
// beside them are named in kAccessibleNames.
constexpr ControlLayout kControls[] = {
    {ChkRunOnStartup, GeneralTabSheet, Kind::CheckBox, L"Load on windows startup", {3, 3, 145, 17}},
    {ChkStartMinimized, GeneralTabSheet, Kind::CheckBox, L"Start minimized", {3, 26, 97, 17}},
    {ChkDisplayAverage, GeneralTabSheet, Kind::CheckBox, L"Display average values", {3, 49, 137, 17}},
    {ChkListEnabledHardwareInterfacesOnly, GeneralTabSheet, Kind::CheckBox,
     L"List enabled hardware interfaces only", {3, 72, 200, 17}},
    {ChkMonProbNotify, GeneralTabSheet, Kind::CheckBox, L"Notify monitoring problems", {3, 95, 153, 17}},

    {ChkAlwaysOnTop, WindowTabSheet, Kind::CheckBox, L"Always on top", {3, 3, 89, 17}},
    {ChkCloseToTray, WindowTabSheet, Kind::CheckBox, L"Close to tray", {3, 26, 81, 17}},
    {WindowStyle_Label, WindowTabSheet, Kind::Label, L"Window style:", {3, 55, 68, 13}},
    {WindowStyle_Combo, WindowTabSheet, Kind::DropDownList, nullptr, {3, 74, 126, 21}},
    {ChkTransparency, WindowTabSheet, Kind::CheckBox, L"Enable window transparency", {148, 3, 163, 17}},
    {TV_PercentDisplay, WindowTabSheet, Kind::Label, L"000% visible", {148, 26, 61, 13}},
    {TV_TrackBar, WindowTabSheet, Kind::TrackBar, nullptr, {148, 37, 200, 33}},
    {ChkClickThroughEnabled, WindowTabSheet, Kind::CheckBox, L"Enable 'click-through' feature", {148, 76, 171, 17}},
    {ChkFadingEnabled, WindowTabSheet, Kind::CheckBox, L"Enable fading effects", {148, 99, 123, 17}},
    {ChkMouseFadingEnabled, WindowTabSheet, Kind::CheckBox, L"Enable mouse sensitive fading", {148, 122, 169, 17}},
    {RadioFadein, WindowTabSheet, Kind::FirstRadio, L"fade in", {164, 145, 65, 17}},
    {RadioFadeout, WindowTabSheet, Kind::Radio, L"fade out", {230, 145, 65, 17}},

    {ChkAutoscale, GraphTabSheet, Kind::CheckBox, L"Autoscale graph", {3, 3, 105, 17}},
    {ChkUDDShow, GraphTabSheet, Kind::CheckBox, L"Show current UL / DL", {3, 26, 125, 17}},
    {UDDUnitCombo, GraphTabSheet, Kind::DropDownList, nullptr, {128, 24, 161, 21}},
    {ChkUDDShowMaxVal, GraphTabSheet, Kind::CheckBox, L"Show maximum value", {3, 49, 125, 17}},
    {MVDUnitCombo, GraphTabSheet, Kind::DropDownList, nullptr, {128, 49, 161, 21}},
    {ChkUDDShowIFName, GraphTabSheet, Kind::CheckBox, L"Show interface name", {3, 72, 130, 17}},
    {ChkGradientBkGr, GraphTabSheet, Kind::CheckBox, L"Gradient background", {3, 96, 129, 17}},
    {ChkShowHorGrid, GraphTabSheet, Kind::CheckBox, L"Show horizontal grid", {3, 119, 121, 17}},
    {VertGridLabel, GraphTabSheet, Kind::Label, L"Vertical grid lines:", {3, 143, 84, 13}},
    {VertGridCombo, GraphTabSheet, Kind::DropDownList, nullptr, {128, 140, 105, 21}},

    {UDFont_Label, FontTabSheet, Kind::Label, L"U/D display", {3, 5, 54, 13}},
    {UDFontName_Combo, FontTabSheet, Kind::DropDownList, nullptr, {63, 3, 145, 21}},
    {UDFontSize_Combo, FontTabSheet, Kind::DropDownList, nullptr, {214, 3, 48, 21}},
    {UDFontBold_Chk, FontTabSheet, Kind::CheckBox, L"Bold", {268, 3, 44, 17}},
    {UDFontItalic_Chk, FontTabSheet, Kind::CheckBox, L"Italic", {312, 3, 44, 17}},
    {MVFont_Label, FontTabSheet, Kind::Label, L"MAX display", {3, 32, 57, 13}},
    {MVFontName_Combo, FontTabSheet, Kind::DropDownList, nullptr, {63, 30, 145, 21}},
    {MVFontSize_Combo, FontTabSheet, Kind::DropDownList, nullptr, {214, 30, 48, 21}},
    {MVFontBold_Chk, FontTabSheet, Kind::CheckBox, L"Bold", {268, 31, 44, 17}},
    {MVFontItalic_Chk, FontTabSheet, Kind::CheckBox, L"Italic", {312, 31, 44, 17}},
    {IFNameFont_Label, FontTabSheet, Kind::Label, L"IF display", {3, 59, 46, 13}},
    {IFNameFontName_Combo, FontTabSheet, Kind::DropDownList, nullptr, {63, 57, 145, 21}},
    {IFNameFontSize_Combo, FontTabSheet, Kind::DropDownList, nullptr, {214, 57, 48, 21}},
    {IFFontBold_Chk, FontTabSheet, Kind::CheckBox, L"Bold", {268, 58, 44, 17}},
    {IFFontItalic_Chk, FontTabSheet, Kind::CheckBox, L"Italic", {312, 58, 44, 17}},
    {ChkFontAutosize, FontTabSheet, Kind::CheckBox, L"Automatically adjust font size", {3, 95, 161, 17}},
    {FontsReset_Btn, FontTabSheet, Kind::Button, L"Restore defaults", {256, 145, 102, 25}},

    {ColorsListBox, ColorsTabSheet, Kind::ListBox, nullptr, {3, 3, 222, 167}},
    {ColorsReset_Btn, ColorsTabSheet, Kind::Button, L"Restore defaults", {256, 145, 102, 25}},
    {ColorsPanel, ColorsTabSheet, Kind::Panel, nullptr, {231, 3, 127, 136}},

    {OKBtn, kForm, Kind::Button, L"OK", {140, 215, 75, 25}},
    {ApplyBtn, kForm, Kind::Button, L"Apply", {221, 215, 75, 25}},
    {CancelBtn, kForm, Kind::Button, L"Cancel", {302, 215, 75, 25}},
    {PageControl1, kForm, Kind::Tab, nullptr, {8, 8, 369, 201}},
};

// The lists that no caption names, with their names for screen readers.
struct AccessibleName {
    OptionsControl id;
    const wchar_t* name;
};
constexpr AccessibleName kAccessibleNames[] = {
    {UDFontSize_Combo, L"U/D display size"},
    {MVFontSize_Combo, L"MAX display size"},
    {IFNameFontSize_Combo, L"IF display size"},
    {ColorsListBox, L"Colors"},
};

struct Hint {
    OptionsControl id;
    const wchar_t* text;
};
constexpr Hint kHints[] = {
    {ChkDisplayAverage, L"Display average values of the last 10 seconds instead of immediate readings"},
    {ChkClickThroughEnabled,
     L"Activate this to make the graph window unclickable. All mouse events will be passed to the underlying "
     L"control."},
    {ChkFontAutosize,
     L"If this option is active, Orvalet will try to size the fonts down (min. size = 8) before switching the "
     L"display panels off"},
};

// A hint is two tools. An enabled control gets the mouse messages over it
// itself; a disabled one gets none, and its page gets them instead. So one
// tool watches the control and the other its place on the page.
enum class HintWatches { Control, Place };

TTTOOLINFOW HintTool(const Hint& hint, HWND control, HintWatches watches) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.lpszText = const_cast<wchar_t*>(hint.text);
    if (watches == HintWatches::Control) {
        tool.uFlags |= TTF_IDISHWND;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        return tool;
    }
    tool.uId = static_cast<UINT_PTR>(hint.id);
    ::GetWindowRect(control, &tool.rect);
    ::MapWindowPoints(nullptr, tool.hwnd, reinterpret_cast<POINT*>(&tool.rect), 2);
    return tool;
}

// Each check box with the field of the options record it shows and edits.
struct CheckBinding {
    OptionsControl id;
    bool& (*field)(OVL_OptionsRecord&);
};
constexpr CheckBinding kCheckBoxes[] = {
    {ChkRunOnStartup, [](OVL_OptionsRecord& o) -> bool& { return o.RunOnStartup; }},
    {ChkStartMinimized, [](OVL_OptionsRecord& o) -> bool& { return o.StartMinimized; }},
    {ChkDisplayAverage, [](OVL_OptionsRecord& o) -> bool& { return o.DisplayAverageValues; }},
    {ChkListEnabledHardwareInterfacesOnly,
     [](OVL_OptionsRecord& o) -> bool& { return o.ListEnabledHardwareInterfacesOnly; }},
    {ChkMonProbNotify, [](OVL_OptionsRecord& o) -> bool& { return o.NotifyMonitoringProblems; }},
    {ChkAlwaysOnTop, [](OVL_OptionsRecord& o) -> bool& { return o.AlwaysOnTop; }},
    {ChkCloseToTray, [](OVL_OptionsRecord& o) -> bool& { return o.CloseToTray; }},
    {ChkTransparency, [](OVL_OptionsRecord& o) -> bool& { return o.TransparencyEnabled; }},
    {ChkClickThroughEnabled, [](OVL_OptionsRecord& o) -> bool& { return o.ClickThrough; }},
    {ChkFadingEnabled, [](OVL_OptionsRecord& o) -> bool& { return o.FadingEnabled; }},
    {ChkMouseFadingEnabled, [](OVL_OptionsRecord& o) -> bool& { return o.MouseFadingEnabled; }},
    {ChkAutoscale, [](OVL_OptionsRecord& o) -> bool& { return o.Autoscale; }},
    {ChkUDDShow, [](OVL_OptionsRecord& o) -> bool& { return o.ShowUDValues; }},
    {ChkUDDShowMaxVal, [](OVL_OptionsRecord& o) -> bool& { return o.ShowMaxValue; }},
    {ChkUDDShowIFName, [](OVL_OptionsRecord& o) -> bool& { return o.ShowIFName; }},
    {ChkGradientBkGr, [](OVL_OptionsRecord& o) -> bool& { return o.Gradient; }},
    {ChkShowHorGrid, [](OVL_OptionsRecord& o) -> bool& { return o.ShowHorGrid; }},
    {ChkFontAutosize, [](OVL_OptionsRecord& o) -> bool& { return o.FontAutosize; }},
    {UDFontBold_Chk, [](OVL_OptionsRecord& o) -> bool& { return o.Fonts[kUDLabel].Bold; }},
    {MVFontBold_Chk, [](OVL_OptionsRecord& o) -> bool& { return o.Fonts[kMVLabel].Bold; }},
    {IFFontBold_Chk, [](OVL_OptionsRecord& o) -> bool& { return o.Fonts[kIFLabel].Bold; }},
    {UDFontItalic_Chk, [](OVL_OptionsRecord& o) -> bool& { return o.Fonts[kUDLabel].Italic; }},
    {MVFontItalic_Chk, [](OVL_OptionsRecord& o) -> bool& { return o.Fonts[kMVLabel].Italic; }},
    {IFFontItalic_Chk, [](OVL_OptionsRecord& o) -> bool& { return o.Fonts[kIFLabel].Italic; }},
};

// The name and size lists of the fonts, by label index - 1.
struct FontLists {
    OptionsControl name, size;
};
constexpr std::array<FontLists, kLabelCount> kFontLists{{
    {UDFontName_Combo, UDFontSize_Combo},
    {MVFontName_Combo, MVFontSize_Combo},
    {IFNameFontName_Combo, IFNameFontSize_Combo},
}};

const CheckBinding* FindCheckBox(OptionsControl id) {
    const auto found = std::ranges::find(kCheckBoxes, id, &CheckBinding::id);
    return found == std::end(kCheckBoxes) ? nullptr : found;
}

int FontOfList(OptionsControl id, OptionsControl FontLists::*list) {
    for (int k = 1; k <= kLabelCount; ++k)
        if (kFontLists[static_cast<std::size_t>(k - 1)].*list == id) return k;
    return 0;
}

const ControlLayout& LayoutOf(OptionsControl id) {
    return *std::ranges::find(kControls, id, &ControlLayout::id);
}

// Where a control goes at a DPI; a drop-down list's height includes its open list.
RECT LayoutBounds(const ControlLayout& layout, UINT dpi) {
    RECT bounds = ScaledBounds(layout.bounds, dpi);
    if (layout.kind == Kind::DropDownList) bounds.bottom += Scale(kDropDownHeight, dpi);
    return bounds;
}

// The messages of the two kinds of list the dialog fills and selects in.
struct ListMessages {
    UINT getSelection, setSelection, clear, reserve, add;
};
constexpr ListMessages kListBoxMessages{LB_GETCURSEL, LB_SETCURSEL, LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING};
constexpr ListMessages kDropDownMessages{CB_GETCURSEL, CB_SETCURSEL, CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING};

const ListMessages& ListMessagesOf(OptionsControl id) {
    return LayoutOf(id).kind == Kind::ListBox ? kListBoxMessages : kDropDownMessages;
}

// Every control but the second radio button starts a group of its own, so
// the arrow keys move only between the two radio buttons.
ControlClass ClassOf(Kind kind) {
    constexpr DWORD tabStop = WS_TABSTOP | WS_GROUP;
    switch (kind) {
        case Kind::Tab: return {WC_TABCONTROLW, tabStop | TCS_HOTTRACK | TCS_MULTILINE, 0};
        case Kind::Button: return {WC_BUTTONW, tabStop | BS_PUSHBUTTON, 0};
        case Kind::CheckBox: return {WC_BUTTONW, tabStop | BS_AUTOCHECKBOX, 0};
        case Kind::FirstRadio: return {WC_BUTTONW, tabStop | BS_AUTORADIOBUTTON, 0};
        case Kind::Radio: return {WC_BUTTONW, BS_AUTORADIOBUTTON, 0};
        case Kind::Label: return {WC_STATICW, WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
        case Kind::DropDownList: return {WC_COMBOBOXW, tabStop | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
        case Kind::TrackBar:
            return {TRACKBAR_CLASSW, tabStop | TBS_HORZ | TBS_TOP | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0};
        case Kind::ListBox:
            return {WC_LISTBOXW, tabStop | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
        case Kind::Panel: break;
    }
    return {WC_STATICW, 0, 0};
}

template <std::size_t N>
std::vector<std::wstring> Texts(const std::array<std::wstring_view, N>& items) {
    return std::vector<std::wstring>(items.begin(), items.end());
}

// The options dialog open on this thread, for the keyboard hook.
thread_local TOVL_Options* pageKeysDialog = nullptr;

// A function of the common controls library, which the dialog has loaded.
template <typename Fn>
Fn CommonControlsFunction(const char* name) {
    return ModuleFunction<Fn>(LoadCommonControlsLibrary(), name);
}

// A page takes the tab control's themed background.
void EnableTabPageTexture(HWND page) {
    static const auto enable =
        OnDemandSystemFunction<decltype(&::EnableThemeDialogTexture)>(L"uxtheme.dll", "EnableThemeDialogTexture");
    if (enable) enable(page, ETDT_ENABLETAB);
}

}  // namespace

// ---- Pages ----------------------------------------------------------------------------

// One page of the dialog: a child dialog holding that page's controls, so
// the dialog manager moves the focus into it and out again. Its controls'
// notifications go on to the options dialog.
class OptionsPageWindow final : public BaseWindow<OptionsPageWindow> {
public:
    explicit OptionsPageWindow(TOVL_Options& dialog) : dialog_(dialog) {}

    bool Create(HWND parent) {
        return CreateDialogHandle(parent, DialogTemplate(WS_CHILD | DS_CONTROL, 0, L"").Get());
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                EnableTabPageTexture(Handle());
                TakeOverDpiScaling(Handle());
                return FALSE;
            case WM_COMMAND:
            case WM_HSCROLL:
            case WM_NOTIFY: return dialog_.HandlePageMessage(message, wParam, lParam);
            default: return DefaultHandling(message, wParam, lParam);
        }
    }

private:
    TOVL_Options& dialog_;
};

// ---- The dialog ----------------------------------------------------------------

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
          const HWND apply = Item(ApplyBtn);
          // A button that loses its use also gives up the focus.
          if (!changed && ::GetFocus() == apply) ::SendMessageW(Handle(), WM_NEXTDLGCTL, 0, FALSE);
          ::EnableWindow(apply, changed);
      }),
      FAccessibleNames(host.nameControl) {}

TOVL_Options::~TOVL_Options() = default;

ModalResult TOVL_Options::ShowModal(HWND owner) {
    const ThreadDpiAwarenessScope perMonitor(ThreadDpiAwarenessScope::PerMonitorAware());
    const DialogTemplate form(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, kCaption);
    const INT_PTR result = RunModalDialog(owner, form.Get());
    return result == static_cast<INT_PTR>(ModalResult::OK) ? ModalResult::OK : ModalResult::Cancel;
}

LRESULT TOVL_Options::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FormCreate(::GetWindow(Handle(), GW_OWNER));
            return FALSE;  // the focus is set
        case WM_COMMAND:
        case WM_NOTIFY: return HandlePageMessage(message, wParam, lParam);
        case WM_CLOSE: ::EndDialog(Handle(), static_cast<INT_PTR>(ModalResult::Cancel)); return 0;
        case kDpiChangedMessage: Layout(MoveForDpiChange(Handle(), wParam, lParam)); return 0;
        case WM_DESTROY: FormDestroy(); return 0;
        default: return DefaultHandling(message, wParam, lParam);
    }
}

LRESULT TOVL_Options::HandlePageMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(static_cast<OptionsControl>(LOWORD(wParam)), HIWORD(wParam));
            return 0;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == Item(TV_TrackBar)) TV_TrackBarChange();
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom == Item(PageControl1) && header.code == TCN_SELCHANGE)
                ShowPage(TabCtrl_GetCurSel(header.hwndFrom));
            return 0;
        }
        default: return 0;
    }
}

// ---- Creation and layout ----------------------------------------------------------

void TOVL_Options::FormCreate(HWND owner) {
    FRecords.pending = FRecords.inForce;
    FFontNames = HorizontalFontNames(FHost.fontNames ? FHost.fontNames() : InstalledFontNames());
    // Laid out for where it is made, next to the owner. Each control is made
    // in place with its font: moving a drop-down list moves its list window
    // too, which is slow under Wine.
    FDpi = WindowDpi(Handle());
    FFont = CreateDialogFont(FDpi);
    CreateControls();
    if (std::ranges::find(FControls, nullptr) != FControls.end()) {
        ::EndDialog(Handle(), static_cast<INT_PTR>(ModalResult::Cancel));
        return;
    }
    CreateTooltips();
    for (const AccessibleName& name : kAccessibleNames) FAccessibleNames.Set(Item(name.id), name.name);
    TakeOverDpiScaling(Handle());

    LayOutForm();
    // Moved to the middle of the owner's monitor, it is laid out again if
    // that monitor has another DPI.
    CenterOnMonitorOf(Handle(), owner);
    if (WindowDpi(Handle()) != FDpi) {
        Layout(WindowDpi(Handle()));
        CenterOnMonitorOf(Handle(), owner);
    }

    ShowOptions();
    SetOptionsChanged(false);
    ShowPage(GeneralTabSheet);
    ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(PageControl1)), TRUE);

    pageKeysDialog = this;
    FPageKeysHook.reset(::SetWindowsHookExW(WH_MSGFILTER, &PageKeysHook, nullptr, ::GetCurrentThreadId()));
}

void TOVL_Options::FormDestroy() {
    FPageKeysHook.reset();
    pageKeysDialog = nullptr;
    FTooltips.reset();
    FAccessibleNames.Clear();
}

void TOVL_Options::CreateControls() {
    for (auto& page : FPages) {
        page = std::make_unique<OptionsPageWindow>(*this);
        page->Create(Handle());
    }
    for (const ControlLayout& layout : kControls) FControls.push_back(CreateControl(layout.id));

    const HWND tabs = Item(PageControl1);
    for (int page = 0; page < kOptionsPageCount; ++page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kPageCaptions[static_cast<std::size_t>(page)]);
        TabCtrl_InsertItem(tabs, page, &item);
    }
    const HWND trackBar = Item(TV_TrackBar);
    ::SendMessageW(trackBar, TBM_SETRANGEMIN, FALSE, kTransparencyMin);
    ::SendMessageW(trackBar, TBM_SETRANGEMAX, FALSE, kTransparencyMax);
    ::SendMessageW(trackBar, TBM_SETTICFREQ, kTickFrequency, 0);
    Fill(WindowStyle_Combo, Texts(kWindowStyleItems));
    Fill(VertGridCombo, Texts(kVertGridItems));
    Fill(ColorsListBox, Texts(kColorListItems));
    static const auto subclass = CommonControlsFunction<decltype(&::SetWindowSubclass)>("SetWindowSubclass");
    if (subclass) subclass(Item(ColorsListBox), &ColorsListBoxKeys, 0, reinterpret_cast<DWORD_PTR>(this));
}

// Made in place with the dialog's font; null when the system refuses.
HWND TOVL_Options::CreateControl(OptionsControl id) {
    const ControlLayout& layout = LayoutOf(id);
    const HWND parent =
        layout.parent == kForm ? Handle() : FPages[static_cast<std::size_t>(layout.parent)]->Handle();
    const RECT bounds = LayoutBounds(layout, FDpi);
    if (layout.kind == Kind::Panel) {
        FColorsPanel = std::make_unique<ColorsPanelWindow>();
        FColorsPanel->Create(parent, static_cast<int>(id), bounds);
        FColorsPaintBox = std::make_unique<ColorPaintBoxWindow>();
        FColorsPaintBox->Create(FColorsPanel->Handle(), static_cast<int>(ColorsPaintBox),
                                [this] { ColorsPaintBoxClick(); });
        return FColorsPaintBox->Handle() ? FColorsPanel->Handle() : nullptr;
    }
    ControlClass kind = ClassOf(layout.kind);
    kind.style |= WS_CLIPSIBLINGS;
    return CreateChildControl(parent, static_cast<int>(id), kind, layout.caption, bounds, FFont.get());
}

void TOVL_Options::CreateTooltips() {
    FTooltips.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr));
    for (const Hint& hint : kHints) {
        for (const HintWatches watches : {HintWatches::Control, HintWatches::Place}) {
            const TTTOOLINFOW tool = HintTool(hint, Item(hint.id), watches);
            ::SendMessageW(FTooltips.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

// For a new DPI: a new font and every control in its new place.
void TOVL_Options::Layout(UINT dpi) {
    FDpi = dpi;
    UniqueFont font = CreateDialogFont(dpi);
    for (const HWND control : FControls)
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    FFont = std::move(font);  // the old font goes once no control uses it
    for (const ControlLayout& layout : kControls) PlaceControl(layout.id);
    LayOutForm();
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// What follows from the controls' places and font: the labels' widths, the
// metrics of the track bar and the colour list, the pages within the tabs,
// the icons and the dialog's own size.
void TOVL_Options::LayOutForm() {
    const auto scale = [this](int pixels) { return Scale(pixels, FDpi); };
    for (const ControlLayout& layout : kControls)
        if (layout.kind == Kind::Label) PlaceControl(layout.id);
    ::SendMessageW(Item(TV_TrackBar), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(scale(kThumbLength)), 0);
    // After the font, which sets the item height too.
    ::SendMessageW(Item(ColorsListBox), LB_SETITEMHEIGHT, 0, scale(kColorItemHeight));

    const int inset = scale(kPaintBoxInset);
    RECT panel{};
    ::GetClientRect(FColorsPanel->Handle(), &panel);
    ::SetWindowPos(FColorsPaintBox->Handle(), nullptr, inset, inset, panel.right - 2 * inset,
                   panel.bottom - 2 * inset, SWP_NOZORDER | SWP_NOACTIVATE);

    const HWND tabs = Item(PageControl1);
    RECT display{};
    ::GetClientRect(tabs, &display);
    TabCtrl_AdjustRect(tabs, FALSE, &display);
    ::MapWindowPoints(tabs, Handle(), reinterpret_cast<POINT*>(&display), 2);
    for (const auto& page : FPages)
        ::SetWindowPos(page->Handle(), nullptr, display.left, display.top, display.right - display.left,
                       display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);

    for (const Hint& hint : kHints) {
        const TTTOOLINFOW tool = HintTool(hint, Item(hint.id), HintWatches::Place);
        ::SendMessageW(FTooltips.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }

    FIcons.SetOn(Handle(), FDpi);

    SetClientSize(Handle(), scale(kClientWidth), scale(kClientHeight));
}

// A label is at least as wide as its text, like a label that sizes itself.
void TOVL_Options::PlaceControl(OptionsControl id) {
    const ControlLayout& layout = LayoutOf(id);
    const HWND control = Item(id);
    const RECT bounds = LayoutBounds(layout, FDpi);
    int width = bounds.right - bounds.left;
    if (layout.kind == Kind::Label) width = std::max(width, TextWidth(control));
    ::SetWindowPos(control, nullptr, bounds.left, bounds.top, width, bounds.bottom - bounds.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Control access -------------------------------------------------------------

HWND TOVL_Options::Item(OptionsControl id) const {
    const auto found = std::ranges::find(kControls, id, &ControlLayout::id);
    const auto index = static_cast<std::size_t>(found - std::begin(kControls));
    return index < FControls.size() ? FControls[index] : nullptr;
}

bool TOVL_Options::Checked(OptionsControl id) const {
    return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TOVL_Options::SetChecked(OptionsControl id, bool checked) const {
    ::SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int TOVL_Options::Selection(OptionsControl id) const {
    return static_cast<int>(::SendMessageW(Item(id), ListMessagesOf(id).getSelection, 0, 0));
}

// kNoItem clears the selection; selecting from code tells no handler.
void TOVL_Options::Select(OptionsControl id, int item) const {
    ::SendMessageW(Item(id), ListMessagesOf(id).setSelection, static_cast<WPARAM>(item), 0);
}

void TOVL_Options::Fill(OptionsControl id, const std::vector<std::wstring>& items) const {
    const HWND control = Item(id);
    const ListMessages& list = ListMessagesOf(id);
    const std::size_t characters = std::accumulate(
        items.begin(), items.end(), std::size_t{0}, [](std::size_t sum, const std::wstring& item) {
            return sum + item.size() + 1;
        });
    ::SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(control, list.clear, 0, 0);
    ::SendMessageW(control, list.reserve, items.size(), static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const std::wstring& item : items)
        ::SendMessageW(control, list.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageW(control, WM_SETREDRAW, TRUE, 0);
}

// ---- Showing the options ------------------------------------------------------------

void TOVL_Options::SetOptionsChanged(bool value) { FChangeState.SetOptionsChanged(value); }

void TOVL_Options::ShowOptions() {
    const OVL_OptionsRecord& o = FRecords.pending;
    for (const CheckBinding& check : kCheckBoxes) SetChecked(check.id, check.field(FRecords.pending));

    Select(WindowStyle_Combo, WindowStyleItem(o.WindowStyle));
    ShowPercentDisplay(o.TransparencyValue);
    // The track bar keeps its position within its range.
    ::SendMessageW(Item(TV_TrackBar), TBM_SETPOS, TRUE,
                   std::clamp(o.TransparencyValue, kTransparencyMin, kTransparencyMax));
    SetChecked(RadioFadein, o.MouseFadingIn);
    SetChecked(RadioFadeout, !o.MouseFadingIn);
    ShowWindowPageEnabling();

    std::vector<std::wstring> units;
    for (int unit = 0; unit < kDisplayUnitCount; ++unit) units.push_back(UnitCaption(unit));
    Fill(UDDUnitCombo, units);
    Fill(MVDUnitCombo, units);
    Select(UDDUnitCombo, DisplayUnitItem(o.UDDisplayUnit));
    Select(MVDUnitCombo, DisplayUnitItem(o.MVDisplayUnit));
    Select(VertGridCombo, VertGridItem(o.VertGrid));

    std::vector<std::wstring> sizes;
    for (const std::int32_t size : GR_FontSizes) sizes.push_back(std::to_wstring(size));
    for (const FontLists& lists : kFontLists) {
        Fill(lists.name, FFontNames);
        Fill(lists.size, sizes);
    }
    Select(ColorsListBox, 0);
    ShowFontSettings();
    ShowSelectedColor();
}

void TOVL_Options::ShowWindowPageEnabling() {
    const WindowPageEnabling enabled =
        EnabledWindowControls(Checked(ChkTransparency), Checked(ChkFadingEnabled), Checked(ChkMouseFadingEnabled));
    for (const OptionsControl id : {TV_PercentDisplay, TV_TrackBar, ChkClickThroughEnabled, ChkFadingEnabled})
        ::EnableWindow(Item(id), enabled.transparencyDependents);
    ::EnableWindow(Item(ChkMouseFadingEnabled), enabled.mouseFading);
    ::EnableWindow(Item(RadioFadein), enabled.fadeDirection);
    ::EnableWindow(Item(RadioFadeout), enabled.fadeDirection);
}

void TOVL_Options::ShowPercentDisplay(std::int32_t transparencyValue) {
    ::SetWindowTextW(Item(TV_PercentDisplay), PercentVisibleText(transparencyValue).c_str());
    PlaceControl(TV_PercentDisplay);
}

// A font or size without an entry shows no selection, also after Restore
// defaults, so the lists never show a font other than the one stored.
void TOVL_Options::ShowFontSettings() {
    for (int k = 1; k <= kLabelCount; ++k) {
        const FontLists& lists = kFontLists[static_cast<std::size_t>(k - 1)];
        Select(lists.name, FontNameItem(FFontNames, FRecords.pending.Fonts[k].Name));
        Select(lists.size, FontSizeItem(FRecords.pending.Fonts[k].Size));
    }
    for (const OptionsControl id :
         {UDFontBold_Chk, MVFontBold_Chk, IFFontBold_Chk, UDFontItalic_Chk, MVFontItalic_Chk, IFFontItalic_Chk})
        SetChecked(id, FindCheckBox(id)->field(FRecords.pending));
}

void TOVL_Options::ShowSelectedColor() {
    FColorsPaintBox->SetColor(GetListColor(FRecords.pending.Colors, Selection(ColorsListBox)));
}

void TOVL_Options::ShowPage(int page) {
    const HWND tabs = Item(PageControl1);
    if (TabCtrl_GetCurSel(tabs) != page) TabCtrl_SetCurSel(tabs, page);
    for (int i = 0; i < kOptionsPageCount; ++i)
        if (i == page) ::ShowWindow(FPages[static_cast<std::size_t>(i)]->Handle(), SW_SHOW);
    for (int i = 0; i < kOptionsPageCount; ++i)
        if (i != page) ::ShowWindow(FPages[static_cast<std::size_t>(i)]->Handle(), SW_HIDE);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages, from anywhere in the dialog.
bool TOVL_Options::SwitchPageByKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || ::GetKeyState(VK_CONTROL) >= 0) return false;
    if (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd)) return false;
    const HWND tabs = Item(PageControl1);
    const int step = ::GetKeyState(VK_SHIFT) < 0 ? kOptionsPageCount - 1 : 1;
    const int current = TabCtrl_GetCurSel(tabs);
    // The focus leaves a page that is put away for the tabs.
    if (::IsChild(FPages[static_cast<std::size_t>(current)]->Handle(), ::GetFocus()))
        ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs), TRUE);
    ShowPage((current + step) % kOptionsPageCount);
    return true;
}

LRESULT CALLBACK TOVL_Options::PageKeysHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    bool switched = false;
    if (code == MSGF_DIALOGBOX && pageKeysDialog)
        RunGuarded([&] { switched = pageKeysDialog->SwitchPageByKey(*reinterpret_cast<const MSG*>(lParam)); });
    return switched ? TRUE : ::CallNextHookEx(nullptr, code, wParam, lParam);
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
        default: break;
    }
    // Enter and Escape arrive here as IDOK and IDCANCEL, which no control has.
    if (code == BN_CLICKED) CheckBoxClick(id);
    if (code == CBN_SELCHANGE) ComboSelect(id);
}

void TOVL_Options::CheckBoxClick(OptionsControl id) {
    if (id == RadioFadein) {
        FRecords.pending.MouseFadingIn = Checked(RadioFadein);
    } else if (id == RadioFadeout) {
        FRecords.pending.MouseFadingIn = !Checked(RadioFadeout);
    } else if (const CheckBinding* check = FindCheckBox(id)) {
        check->field(FRecords.pending) = Checked(id);
    } else {
        return;
    }
    if (id == ChkTransparency || id == ChkFadingEnabled || id == ChkMouseFadingEnabled) ShowWindowPageEnabling();
    SetOptionsChanged(true);
}

void TOVL_Options::ComboSelect(OptionsControl id) {
    OVL_OptionsRecord& o = FRecords.pending;
    const int item = Selection(id);
    if (id == WindowStyle_Combo) {
        o.WindowStyle = WindowStyleFromItem(item, o.WindowStyle);
    } else if (id == UDDUnitCombo) {
        o.UDDisplayUnit = DisplayUnitFromItem(item, o.UDDisplayUnit);
    } else if (id == MVDUnitCombo) {
        o.MVDisplayUnit = DisplayUnitFromItem(item, o.MVDisplayUnit);
    } else if (id == VertGridCombo) {
        o.VertGrid = VertGridFromItem(item);
    } else if (const int k = FontOfList(id, &FontLists::name)) {
        if (item >= 0 && item < static_cast<int>(FFontNames.size()))
            o.Fonts[k].Name = FFontNames[static_cast<std::size_t>(item)];
    } else if (const int k = FontOfList(id, &FontLists::size)) {
        o.Fonts[k].Size = FontSizeFromItem(item, o.Fonts[k].Size);
    } else {
        return;
    }
    SetOptionsChanged(true);
}

void TOVL_Options::TV_TrackBarChange() {
    FRecords.pending.TransparencyValue = static_cast<std::int32_t>(::SendMessageW(Item(TV_TrackBar), TBM_GETPOS, 0, 0));
    ShowPercentDisplay(FRecords.pending.TransparencyValue);
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
    ShowFontSettings();
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
    const int index = Selection(ColorsListBox);
    const std::int32_t preset = GetListColor(FRecords.pending.Colors, index);
    const std::int32_t chosen =
        FHost.chooseColor ? FHost.chooseColor(Handle(), preset) : ChooseColorDialog(Handle(), preset);
    SetListColor(FRecords.pending.Colors, index, chosen);
    ShowSelectedColor();
    SetOptionsChanged(true);
}

}  // namespace orvalet::win32
