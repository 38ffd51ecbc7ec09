#include "base/win32/dialog_form_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <utility>

#include "base/win32/base_window.h"
#include "base/win32/dialog_layout_win.h"
#include "base/win32/dialog_template.h"
#include "base/win32/dpi_win.h"
#include "base/win32/system_function_win.h"

namespace orvalet::win32 {
namespace {

constexpr int kDropDownHeight = 200;  // the open list below a drop-down's field
constexpr int kTitleFontHeight = 15;
constexpr wchar_t kMemoFontFace[] = L"Consolas";

constexpr DWORD kLabelStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

// The window class and styles of each kind, in the order of ControlKind, up
// to Custom, which the dialog makes itself.
constexpr ControlClass kClasses[] = {
    {WC_TABCONTROLW, WS_TABSTOP | TCS_HOTTRACK | TCS_MULTILINE, 0},  // Tabs
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0},                     // Button
    {WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},                  // DefaultButton
    {WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, 0},                   // CheckBox
    {WC_BUTTONW, WS_TABSTOP | BS_AUTORADIOBUTTON, 0},                // FirstRadio
    {WC_BUTTONW, BS_AUTORADIOBUTTON, 0},                             // Radio
    {WC_STATICW, kLabelStyle, 0},                                    // Label
    {WC_STATICW, kLabelStyle | SS_NOTIFY, 0},  // Link: clicks and the hand cursor reach the dialog
    {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0},   // DropDownList
    {TRACKBAR_CLASSW, WS_TABSTOP | TBS_HORZ | TBS_TOP | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0},  // TrackBar
    {WC_LISTBOXW, WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE},  // ListBox
    {WC_EDITW, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE},            // Memo
    {WC_STATICW, SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY, 0},                                      // Picture
    {WC_STATICW, WS_BORDER | WS_CLIPSIBLINGS | SS_NOPREFIX, 0},                                   // Frame
};
static_assert(std::size(kClasses) == static_cast<std::size_t>(ControlKind::Custom));

bool IsLabel(ControlKind kind) { return kind == ControlKind::Label || kind == ControlKind::Link; }
bool IsButton(ControlKind kind) {
    return kind == ControlKind::CheckBox || kind == ControlKind::FirstRadio || kind == ControlKind::Radio;
}

// The messages of the two kinds of list a form fills and selects in.
struct ListMessages {
    UINT getSelection, setSelection, clear, reserve, add;
};
constexpr ListMessages kListBoxMessages{LB_GETCURSEL, LB_SETCURSEL, LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING};
constexpr ListMessages kDropDownMessages{CB_GETCURSEL, CB_SETCURSEL, CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING};

const ListMessages& ListMessagesOf(ControlKind kind) {
    return kind == ControlKind::ListBox ? kListBoxMessages : kDropDownMessages;
}

// Where a control goes at a DPI; a drop-down list's height includes its open list.
RECT BoundsAt(const ControlLayout& layout, UINT dpi) {
    RECT bounds = ScaledBounds(layout.bounds, dpi);
    if (layout.kind == ControlKind::DropDownList) bounds.bottom += Scale(kDropDownHeight, dpi);
    return bounds;
}

// A hint is two tools. An enabled control gets the mouse messages over it
// itself; a disabled one gets none, and its parent gets them instead. So one
// tool watches the control and the other its place in the parent.
enum class HintWatches { Control, Place };

TTTOOLINFOW HintTool(const ControlLayout& layout, HWND control, HintWatches watches) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.lpszText = const_cast<wchar_t*>(layout.hint);
    if (watches == HintWatches::Control) {
        tool.uFlags |= TTF_IDISHWND;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        return tool;
    }
    tool.uId = static_cast<UINT_PTR>(layout.id);
    ::GetWindowRect(control, &tool.rect);
    ::MapWindowPoints(nullptr, tool.hwnd, reinterpret_cast<POINT*>(&tool.rect), 2);
    return tool;
}

// A page takes the tab control's themed background.
void EnableTabPageTexture(HWND page) {
    static const auto enable =
        OnDemandSystemFunction<decltype(&::EnableThemeDialogTexture)>(L"uxtheme.dll", "EnableThemeDialogTexture");
    if (enable) enable(page, ETDT_ENABLETAB);
}

// The form with pages open on this thread, for the keyboard hook.
thread_local DialogForm* pageKeysForm = nullptr;

}  // namespace

// One page: a child dialog holding that page's controls, so the dialog
// manager moves the focus into it and out again. Its controls'
// notifications go on to the dialog.
class DialogPage final : public BaseWindow<DialogPage> {
public:
    bool Create(HWND dialog) { return CreateDialogHandle(dialog, DialogTemplate(WS_CHILD | DS_CONTROL, 0, L"").Get()); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                EnableTabPageTexture(Handle());
                TakeOverDpiScaling(Handle());
                return FALSE;
            case WM_COMMAND:
            case WM_HSCROLL:
            case WM_NOTIFY: return ::SendMessageW(::GetParent(Handle()), message, wParam, lParam);
            default: return DefaultHandling(message, wParam, lParam);
        }
    }
};

DialogForm::DialogForm(std::vector<const ControlLayout*> layouts, FormDesign design)
    : design_(std::move(design)), accessibleNames_(design_.nameControl) {
    for (const ControlLayout* layout : layouts) controls_.push_back({layout});
}

DialogForm::~DialogForm() {
    if (pageKeysForm == this) pageKeysForm = nullptr;
}

bool DialogForm::Open(HWND dialog) {
    dialog_ = dialog;
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    // Laid out for where it is made, next to the owner. Each control is made
    // in place with its font: moving a drop-down list moves its list window
    // too, which is slow under Wine.
    dpi_ = WindowDpi(dialog);
    MakeFonts(dpi_);
    for (std::size_t page = 0; page < design_.pageCaptions.size(); ++page) {
        pages_.push_back(std::make_unique<DialogPage>());
        pages_.back()->Create(dialog);
    }
    for (Control& control : controls_)
        if (!CreateControl(control)) return false;
    CreateHints();
    for (const Control& control : controls_)
        if (control.layout->accessibleName) accessibleNames_.Set(control.window, control.layout->accessibleName);
    TakeOverDpiScaling(dialog);

    LayOutForm();
    // Moved to the middle of the owner's monitor, it is laid out again if
    // that monitor has another DPI.
    CenterOnMonitorOf(dialog, owner);
    if (WindowDpi(dialog) != dpi_) {
        Layout(WindowDpi(dialog));
        CenterOnMonitorOf(dialog, owner);
    }
    if (!pages_.empty()) {
        ShowPage(0);
        ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs_), TRUE);
        pageKeysForm = this;
        pageKeysHook_.reset(::SetWindowsHookExW(WH_MSGFILTER, &PageKeysHook, nullptr, ::GetCurrentThreadId()));
    }
    return true;
}

bool DialogForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kDpiChangedMessage: Layout(MoveForDpiChange(dialog_, wParam, lParam)); return true;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom != tabs_ || header.code != TCN_SELCHANGE) return false;
            ShowPage(TabCtrl_GetCurSel(tabs_));
            return true;
        }
        case WM_DESTROY:
            if (pageKeysHook_) pageKeysForm = nullptr;
            pageKeysHook_.reset();
            tooltips_.reset();
            accessibleNames_.Clear();
            return false;
        default: return false;
    }
}

// Made in place with its font; null when the system refuses.
HWND DialogForm::CreateControl(Control& control) {
    const ControlLayout& layout = *control.layout;
    const HWND parent = layout.page == kOnForm ? dialog_ : pages_.at(static_cast<std::size_t>(layout.page))->Handle();
    const RECT bounds = BoundsAt(layout, dpi_);
    if (layout.kind == ControlKind::Custom) {
        control.window = design_.createCustom ? design_.createCustom(layout, parent, bounds) : nullptr;
        return control.window;
    }
    ControlClass kind = kClasses[static_cast<std::size_t>(layout.kind)];
    kind.style |= design_.controlStyle;
    if (layout.kind == ControlKind::Radio) kind.style &= ~static_cast<DWORD>(WS_GROUP);
    control.window = CreateChildControl(parent, layout.id, kind, layout.caption, bounds, FontOf(layout));
    if (layout.kind == ControlKind::Tabs) {
        tabs_ = control.window;
        for (std::size_t page = 0; page < design_.pageCaptions.size(); ++page) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(design_.pageCaptions[page]);
            TabCtrl_InsertItem(tabs_, static_cast<int>(page), &item);
        }
    }
    if (!layout.items.empty()) Fill(layout.id, std::vector<std::wstring>(layout.items.begin(), layout.items.end()));
    return control.window;
}

void DialogForm::CreateHints() {
    const auto hinted = [](const Control& control) { return control.layout->hint != nullptr; };
    if (std::ranges::none_of(controls_, hinted)) return;
    tooltips_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr));
    for (const Control& control : controls_) {
        if (!hinted(control)) continue;
        for (const HintWatches watches : {HintWatches::Control, HintWatches::Place}) {
            const TTTOOLINFOW tool = HintTool(*control.layout, control.window, watches);
            ::SendMessageW(tooltips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

// The fonts of the roles the rows use, for a DPI.
void DialogForm::MakeFonts(UINT dpi) {
    for (std::size_t role = 0; role < fonts_.size(); ++role) {
        const auto used = [role](const Control& control) {
            return static_cast<std::size_t>(control.layout->font) == role;
        };
        if (std::ranges::none_of(controls_, used)) continue;
        switch (static_cast<FontRole>(role)) {
            case FontRole::Dialog: fonts_[role] = CreateDialogFont(dpi); break;
            case FontRole::Title: fonts_[role] = CreateDialogFont(dpi, kTitleFontHeight, FW_BOLD); break;
            case FontRole::Memo: fonts_[role] = CreateScaledFont(kMemoFontFace, kDialogFontHeight, dpi); break;
            case FontRole::Link: fonts_[role] = CreateDialogFont(dpi, kDialogFontHeight, FW_NORMAL, true); break;
        }
    }
}

HFONT DialogForm::FontOf(const ControlLayout& layout) const { return fonts_[static_cast<std::size_t>(layout.font)].get(); }

// For a new DPI: new fonts and every control in its new place. The old
// fonts go once no control uses them.
void DialogForm::Layout(UINT dpi) {
    dpi_ = dpi;
    std::array<UniqueFont, 4> old = std::move(fonts_);
    MakeFonts(dpi);
    for (const Control& control : controls_)
        ::SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(*control.layout)), FALSE);
    old = {};
    for (const Control& control : controls_) Place(control.layout->id);
    LayOutForm();
    ::RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// What follows from the controls' places and fonts: the labels' widths, the
// dialog's own layout, the pages within the tabs, the hints' places, the
// icons and the dialog's size.
void DialogForm::LayOutForm() {
    for (const Control& control : controls_)
        if (IsLabel(control.layout->kind)) Place(control.layout->id);
    if (design_.layOut) design_.layOut(dpi_);

    if (tabs_) {
        RECT display{};
        ::GetClientRect(tabs_, &display);
        TabCtrl_AdjustRect(tabs_, FALSE, &display);
        ::MapWindowPoints(tabs_, dialog_, reinterpret_cast<POINT*>(&display), 2);
        for (const auto& page : pages_)
            ::SetWindowPos(page->Handle(), nullptr, display.left, display.top, display.right - display.left,
                           display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const Control& control : controls_) {
        if (!control.layout->hint) continue;
        const TTTOOLINFOW tool = HintTool(*control.layout, control.window, HintWatches::Place);
        ::SendMessageW(tooltips_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    icons_.SetOn(dialog_, dpi_);
    SetClientSize(dialog_, Scale(design_.clientWidth, dpi_), Scale(design_.clientHeight, dpi_));
}

// A label is at least as wide as its text, like a label that sizes itself,
// so that a caption completed later (or drawn wider by the system's font)
// is never cut.
void DialogForm::Place(ControlId id) {
    const Control* control = Find(id);
    if (!control) return;
    const RECT bounds = BoundsAt(*control->layout, dpi_);
    int width = bounds.right - bounds.left;
    if (IsLabel(control->layout->kind)) width = std::max(width, TextWidth(control->window));
    ::SetWindowPos(control->window, nullptr, bounds.left, bounds.top, width, bounds.bottom - bounds.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogForm::SetText(ControlId id, const std::wstring& text) {
    ::SetWindowTextW(Item(id), text.c_str());
    Place(id);
}

const DialogForm::Control* DialogForm::Find(ControlId id) const {
    const auto found = std::ranges::find(controls_, id.value, [](const Control& control) { return control.layout->id; });
    return found == controls_.end() ? nullptr : &*found;
}

DialogForm::Control* DialogForm::Find(ControlId id) {
    return const_cast<Control*>(std::as_const(*this).Find(id));
}

HWND DialogForm::Item(ControlId id) const {
    const Control* control = Find(id);
    return control ? control->window : nullptr;
}

void DialogForm::Fill(ControlId id, std::vector<std::wstring> items) {
    Control* control = Find(id);
    if (!control) return;
    const ListMessages& list = ListMessagesOf(control->layout->kind);
    const std::size_t characters = std::accumulate(
        items.begin(), items.end(), std::size_t{0},
        [](std::size_t sum, const std::wstring& item) { return sum + item.size() + 1; });
    const HWND window = control->window;
    ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(window, list.clear, 0, 0);
    ::SendMessageW(window, list.reserve, items.size(), static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const std::wstring& item : items) ::SendMessageW(window, list.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    control->items = std::move(items);
}

ListItems DialogForm::Items(ControlId id) const {
    const Control* control = Find(id);
    return control ? ListItems(control->items) : ListItems();
}

int DialogForm::State(ControlId id) const {
    const Control* control = Find(id);
    if (!control) return kNoItem;
    const ControlKind kind = control->layout->kind;
    if (IsButton(kind)) return ::SendMessageW(control->window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    const UINT get = kind == ControlKind::TrackBar ? TBM_GETPOS : ListMessagesOf(kind).getSelection;
    return static_cast<int>(::SendMessageW(control->window, get, 0, 0));
}

// kNoItem clears a list's selection.
void DialogForm::SetState(ControlId id, int state) const {
    const Control* control = Find(id);
    if (!control) return;
    const ControlKind kind = control->layout->kind;
    if (IsButton(kind)) {
        ::SendMessageW(control->window, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (kind == ControlKind::TrackBar) {
        ::SendMessageW(control->window, TBM_SETPOS, TRUE, state);
    } else {
        ::SendMessageW(control->window, ListMessagesOf(kind).setSelection, static_cast<WPARAM>(state), 0);
    }
}

int DialogForm::ChangedControl(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (message == WM_HSCROLL) {
        const auto found = std::ranges::find(controls_, reinterpret_cast<HWND>(lParam), &Control::window);
        return found != controls_.end() && found->layout->kind == ControlKind::TrackBar ? found->layout->id : 0;
    }
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    const Control* control = Find(id);
    if (!control) return 0;
    const ControlKind kind = control->layout->kind;
    const UINT code = HIWORD(wParam);
    const bool changed =
        (IsButton(kind) && code == BN_CLICKED) || (kind == ControlKind::DropDownList && code == CBN_SELCHANGE);
    return changed ? id : 0;
}

void DialogForm::ShowPage(int page) {
    if (TabCtrl_GetCurSel(tabs_) != page) TabCtrl_SetCurSel(tabs_, page);
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (static_cast<int>(i) == page) ::ShowWindow(pages_[i]->Handle(), SW_SHOW);
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (static_cast<int>(i) != page) ::ShowWindow(pages_[i]->Handle(), SW_HIDE);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages, from anywhere in the dialog.
bool DialogForm::SwitchPageByKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || ::GetKeyState(VK_CONTROL) >= 0) return false;
    if (message.hwnd != dialog_ && !::IsChild(dialog_, message.hwnd)) return false;
    const int count = static_cast<int>(pages_.size());
    const int step = ::GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    const int current = TabCtrl_GetCurSel(tabs_);
    // The focus leaves a page that is put away for the tabs.
    if (::IsChild(pages_.at(static_cast<std::size_t>(current))->Handle(), ::GetFocus()))
        ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs_), TRUE);
    ShowPage((current + step) % count);
    return true;
}

LRESULT CALLBACK DialogForm::PageKeysHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    bool switched = false;
    if (code == MSGF_DIALOGBOX && pageKeysForm)
        RunGuarded([&] { switched = pageKeysForm->SwitchPageByKey(*reinterpret_cast<const MSG*>(lParam)); });
    return switched ? TRUE : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace orvalet::win32
