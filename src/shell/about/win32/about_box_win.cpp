#include "shell/about/win32/about_box_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "base/win32/dialog_layout_win.h"
#include "base/win32/dialog_look_win.h"
#include "base/win32/dialog_template.h"
#include "base/win32/dpi_win.h"
#include "base/win32/system_function_win.h"
#include "shell/about/about_box.h"
#include "shell/about/project_links.h"
#include "shell/resources/win32/resource_ids.h"
#include "shell/resources/win32/resource_images_win.h"

namespace orvalet::win32 {
namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kClientWidth = 344;
constexpr int kClientHeight = 277;
constexpr int kTitleFontHeight = 15;  // the program name, bold

constexpr ControlClass kLabel{WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
// SS_NOTIFY: clicks and the hand cursor reach the box.
constexpr ControlClass kLink{WC_STATICW, kLabel.style | SS_NOTIFY, 0};
constexpr ControlClass kMemo{WC_EDITW, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE};
constexpr ControlClass kPicture{WC_STATICW, SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY, 0};
constexpr ControlClass kButton{WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
// A flat frame on the window colour, under the controls it frames. They are
// the box's own, not the panel's: a memo hands Tab, Enter and Esc to its
// parent, which must be the dialog for the dialog manager to act on them.
constexpr ControlClass kPanel{WC_STATICW, WS_BORDER | WS_CLIPSIBLINGS | SS_NOPREFIX, 0};

enum class FontKind { Form, Title, Memo, Link };

struct ControlLayout {
    AboutControl id;
    const ControlClass& kind;
    const wchar_t* text;  // the memo's is set after creation
    DesignBounds bounds;  // in the panel unless it is the button or the panel
    FontKind font;
};

constexpr DesignBounds kPanelBounds{8, 8, 328, 233};

// In tab order: the controls on the panel (the memo is their only tab stop),
// the button, and the panel last, so that it lies under the others.
constexpr ControlLayout kControls[] = {
    {Orvalet_Label, kLabel, kProgramNameCaption, {10, 10, 102, 18}, FontKind::Title},
    {BuildDate_Label, kLabel, kBuildDateCaption, {10, 35, 51, 13}, FontKind::Form},
    {Author_Label, kLabel, kCreditLine, {10, 54, 194, 13}, FontKind::Form},
    {FreeSoftware_Label, kLabel, kDistributionLine, {10, 73, 130, 13}, FontKind::Form},
    {Memo1, kMemo, L"", {10, 98, 303, 87}, FontKind::Memo},
    {URL_Label, kLink, kWebPageAddress, {10, 191, 199, 13}, FontKind::Link},
    {Email_Label, kLink, kEmailAddress, {10, 207, 123, 13}, FontKind::Link},
    {PayPal_Image, kPicture, L"", {248, 191, 65, 33}, FontKind::Form},
    {Button1, kButton, L"OK", {130, 247, 75, 25}, FontKind::Form},
    {Panel1, kPanel, L"", kPanelBounds, FontKind::Form},
};

bool IsLabel(const ControlLayout& control) { return &control.kind == &kLabel || &control.kind == &kLink; }

// Where a control lies in the box.
RECT BoxBounds(const ControlLayout& control, UINT dpi) {
    DesignBounds bounds = control.bounds;
    if (control.id != Button1 && control.id != Panel1) {
        bounds.left += kPanelBounds.left;
        bounds.top += kPanelBounds.top;
    }
    return ScaledBounds(bounds, dpi);
}

// A label grows to its text, as an auto-sized label does, so that a caption
// completed at creation (or drawn wider by the system's font) is never cut.
void WidenToText(HWND label) {
    RECT client{};
    ::GetClientRect(label, &client);
    const int width = TextWidth(label);
    if (width <= client.right) return;
    ::SetWindowPos(label, nullptr, 0, 0, width, client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The shell wants COM on the calling thread for some of its handlers.
void ShellOpen(HWND owner, const std::wstring& address) {
    static const auto initialize = OnDemandSystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    static const auto uninitialize = OnDemandSystemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    const bool com = initialize && uninitialize &&
                     SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    ::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (com) uninitialize();
}

}  // namespace

TOVL_About::TOVL_About(AboutBoxServices services) : FServices(std::move(services)) {
    if (!FServices.openAddress) {
        FServices.openAddress = [this](const std::wstring& address) { ShellOpen(Handle(), address); };
    }
    if (!FServices.highContrast) FServices.highContrast = &HighContrastOn;
}

TOVL_About::~TOVL_About() = default;

// Laid out for the monitor it opens on, and again when it moves to one of
// another DPI.
INT_PTR TOVL_About::ShowModal(HWND owner) {
    const ThreadDpiAwarenessScope perMonitor(ThreadDpiAwarenessScope::PerMonitorAware());
    return RunModalDialog(owner, DialogTemplate(kFormStyle, 0, kAboutBoxCaption).Get());
}

HWND TOVL_About::Control(AboutControl id) const noexcept { return ::GetDlgItem(Handle(), id); }

LRESULT TOVL_About::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FormCreate(::GetWindow(Handle(), GW_OWNER));
            ::SetFocus(Control(Button1));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(
                OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_SETCURSOR:
            if (!OnSetCursor(reinterpret_cast<HWND>(wParam))) return DefaultHandling(message, wParam, lParam);
            return TRUE;
        case kDpiChangedMessage:
            Layout(MoveForDpiChange(Handle(), wParam, lParam));
            return 0;
        case WM_DESTROY:
            TakeBackDonationPicture();
            return DefaultHandling(message, wParam, lParam);
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

// Filled, then laid out for the DPI and centred on the owner's monitor;
// laid out again when that monitor has another DPI.
void TOVL_About::FormCreate(HWND owner) {
    InitCommonControlClasses(ICC_STANDARD_CLASSES);
    TakeOverDpiScaling(Handle());
    CreateControls();
    const UINT dpi = WindowDpi(Handle());
    Layout(dpi);
    CenterOnMonitorOf(Handle(), owner);
    if (WindowDpi(Handle()) != dpi) {
        Layout(WindowDpi(Handle()));
        CenterOnMonitorOf(Handle(), owner);
    }
}

void TOVL_About::CreateControls() {
    for (const ControlLayout& control : kControls)
        CreateChildControl(Handle(), control.id, control.kind, control.text, {}, nullptr);
    ::SetWindowTextW(Control(Memo1), std::wstring(LicenceMemoText()).c_str());
    const auto append = [this](AboutControl id, const wchar_t* text) {
        const std::wstring caption = WindowText(Control(id)) + L" " + text;
        ::SetWindowTextW(Control(id), caption.c_str());
    };
    append(Orvalet_Label, kProgramVersion);
    append(BuildDate_Label, kBuildDate);
}

// Fonts, places, picture, icons and size for a DPI. The old fonts go once
// no control uses them.
void TOVL_About::Layout(UINT dpi) {
    Fonts fonts{CreateDialogFont(dpi), CreateDialogFont(dpi, kTitleFontHeight, FW_BOLD),
                CreateScaledFont(L"Consolas", kDialogFontHeight, dpi),
                CreateDialogFont(dpi, kDialogFontHeight, FW_NORMAL, true)};
    const HFONT byKind[] = {fonts.form.get(), fonts.title.get(), fonts.memo.get(), fonts.link.get()};
    for (const ControlLayout& control : kControls) {
        const HWND window = Control(control.id);
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(byKind[static_cast<int>(control.font)]), FALSE);
        const RECT bounds = BoxBounds(control, dpi);
        ::SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (IsLabel(control)) WidenToText(window);
    }
    FFonts = std::move(fonts);
    ShowDonationPicture(dpi);
    FIcons.SetOn(Handle(), dpi);
    SetClientSize(Handle(), Scale(kClientWidth, dpi), Scale(kClientHeight, dpi));
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TOVL_About::ShowDonationPicture(UINT dpi) {
    TakeBackDonationPicture();
    FDonationPicture = LoadScaledBitmap(::GetModuleHandleW(nullptr), ORVALET_IDB_DONATION, dpi);
    const HWND image = Control(PayPal_Image);
    ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(FDonationPicture.get()));
    // Setting a picture may fit the control to it; the control keeps its bounds.
    for (const ControlLayout& control : kControls) {
        if (control.id != PayPal_Image) continue;
        const RECT bounds = BoxBounds(control, dpi);
        ::SetWindowPos(image, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// With common controls 6 the picture control keeps a copy of a picture with
// alpha, which it gives back here and which is the box's to free.
void TOVL_About::TakeBackDonationPicture() {
    UniqueBitmap shown(reinterpret_cast<HBITMAP>(
        ::SendMessageW(Control(PayPal_Image), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(nullptr))));
    if (shown.get() == FDonationPicture.get()) shown.release();
}

void TOVL_About::OnCommand(int id, int code) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
            ::EndDialog(Handle(), id);
            break;
        case URL_Label:
            if (code == STN_CLICKED) URL_LabelClick();
            break;
        case Email_Label:
            if (code == STN_CLICKED) Email_LabelClick();
            break;
        case PayPal_Image:
            if (code == STN_CLICKED) PayPal_ImageClick();
            break;
        default:
            break;
    }
}

// The designed colours, or with a high-contrast theme the system's own, so
// that every text stays readable on a dark theme too.
HBRUSH TOVL_About::OnControlColor(HDC dc, HWND control) const {
    const int id = ::GetDlgCtrlID(control);
    const bool systemColors = FServices.highContrast();
    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    int background = COLOR_WINDOW;
    if ((id == Orvalet_Label || id == Memo1) && !systemColors) text = RGB(0, 0, 0);
    if (id == URL_Label || id == Email_Label) {
        const bool visited = id == URL_Label ? FURLVisited : FEmailVisited;
        text = systemColors ? ::GetSysColor(visited ? COLOR_WINDOWTEXT : COLOR_HOTLIGHT)
                            : (visited ? kVisitedLinkColor : kLinkColor);
    }
    if (id == URL_Label) background = COLOR_BTNFACE;
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, ::GetSysColor(background));
    return ::GetSysColorBrush(background);
}

bool TOVL_About::OnSetCursor(HWND control) const {
    const int id = ::GetDlgCtrlID(control);
    if (id != URL_Label && id != Email_Label && id != PayPal_Image) return false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return true;
}

void TOVL_About::URL_LabelClick() { VisitLink(URL_Label, FURLVisited); }

void TOVL_About::Email_LabelClick() { VisitLink(Email_Label, FEmailVisited); }

void TOVL_About::PayPal_ImageClick() { FServices.openAddress(kDonationAddress); }

// The link turns navy, and is seen so, before the address opens; it stays
// navy for the rest of the box's life.
void TOVL_About::VisitLink(AboutControl label, bool& visited) {
    visited = true;
    const HWND control = Control(label);
    ::InvalidateRect(control, nullptr, TRUE);
    ::UpdateWindow(control);
    FServices.openAddress(WindowText(control));
}

}  // namespace orvalet::win32
