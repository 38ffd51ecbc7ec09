#include "shell/about/win32/about_box_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <span>
#include <string>
#include <utility>

#include "base/win32/dialog_layout_win.h"
#include "base/win32/dialog_template.h"
#include "base/win32/dpi_win.h"
#include "base/win32/system_function_win.h"
#include "shell/about/about_box.h"
#include "shell/about/project_links.h"
#include "shell/resources/win32/resource_ids.h"
#include "shell/resources/win32/resource_images_win.h"

namespace orvalet::win32 {
namespace {

using enum ControlKind;

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kClientWidth = 344;
constexpr int kClientHeight = 277;
constexpr DesignBounds kPanelBounds{8, 8, 328, 233};

constexpr ControlRow<> Row(AboutControl id, ControlKind kind, const wchar_t* text, DesignBounds bounds,
                           FontRole font = FontRole::Dialog) {
    return ControlRow<>(id, kOnForm, kind, text, bounds).WithFont(font);
}

// The controls on the panel, given within it.
constexpr ControlRow<> OnPanel(AboutControl id, ControlKind kind, const wchar_t* text, DesignBounds bounds,
                               FontRole font = FontRole::Dialog) {
    return Row(id, kind, text, Within(kPanelBounds, bounds), font);
}

// In tab order: the controls on the panel (the memo is their only tab stop),
// the button, and the panel last, so that it lies under the others. The
// panel is a flat frame on the window colour; the controls it frames are the
// box's own, not the panel's: a memo hands Tab, Enter and Esc to its parent,
// which must be the dialog for the dialog manager to act on them.
constexpr ControlRow<> kRows[] = {
    OnPanel(Orvalet_Label, Label, kProgramNameCaption, {10, 10, 102, 18}, FontRole::Title),
    OnPanel(BuildDate_Label, Label, kBuildDateCaption, {10, 35, 51, 13}),
    OnPanel(Author_Label, Label, kCreditLine, {10, 54, 194, 13}),
    OnPanel(FreeSoftware_Label, Label, kDistributionLine, {10, 73, 130, 13}),
    OnPanel(Memo1, Memo, L"", {10, 98, 303, 87}, FontRole::Memo),  // its text is set after creation
    OnPanel(URL_Label, Link, kWebPageAddress, {10, 191, 199, 13}, FontRole::Link),
    OnPanel(Email_Label, Link, kEmailAddress, {10, 207, 123, 13}, FontRole::Link),
    OnPanel(PayPal_Image, Picture, L"", {248, 191, 65, 33}),
    Row(Button1, DefaultButton, L"OK", {130, 247, 75, 25}),
    Row(Panel1, Frame, L"", kPanelBounds),
};

}  // namespace

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The shell wants COM on the calling thread for some of its handlers.
void OpenAddress(HWND owner, const std::wstring& address) {
    static const auto initialize = OnDemandSystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    static const auto uninitialize = OnDemandSystemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    const bool com = initialize && uninitialize &&
                     SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    ::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (com) uninitialize();
}

TOVL_About::TOVL_About(AboutBoxServices services)
    : FServices(std::move(services)),
      FForm(std::span<const ControlRow<>>(kRows), {.clientWidth = kClientWidth,
                                                   .clientHeight = kClientHeight,
                                                   .layOut = [this](UINT dpi) { ShowDonationPicture(dpi); }}) {}

TOVL_About::~TOVL_About() = default;

// Laid out for the monitor it opens on, and again when it moves to one of
// another DPI.
INT_PTR TOVL_About::ShowModal(HWND owner) {
    const ThreadDpiAwarenessScope perMonitor(ThreadDpiAwarenessScope::PerMonitorAware());
    return RunModalDialog(owner, DialogTemplate(kFormStyle, 0, kAboutBoxCaption).Get());
}

HWND TOVL_About::Control(AboutControl id) const noexcept { return ::GetDlgItem(Handle(), id); }

LRESULT TOVL_About::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FForm.HandleMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_INITDIALOG:
            FormCreate();
            ::SetFocus(Control(Button1));
            return FALSE;  // the focus is set
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(
                OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_SETCURSOR:
            if (!OnSetCursor(reinterpret_cast<HWND>(wParam))) return DefaultHandling(message, wParam, lParam);
            return TRUE;
        case WM_DESTROY:
            TakeBackDonationPicture();
            return DefaultHandling(message, wParam, lParam);
        default: return DefaultHandling(message, wParam, lParam);
    }
}

// The program's name and the build date are completed after creation.
void TOVL_About::FormCreate() {
    InitCommonControlClasses(ICC_STANDARD_CLASSES);
    FForm.Open(Handle());
    ::SetWindowTextW(Control(Memo1), std::wstring(LicenceMemoText()).c_str());
    for (const auto& [id, completion] : {std::pair{Orvalet_Label, kProgramVersion}, {BuildDate_Label, kBuildDate}})
        FForm.SetText(id, WindowText(Control(id)) + L" " + completion);
}

void TOVL_About::ShowDonationPicture(UINT dpi) {
    TakeBackDonationPicture();
    FDonationPicture = LoadScaledBitmap(::GetModuleHandleW(nullptr), ORVALET_IDB_DONATION, dpi);
    const auto picture = reinterpret_cast<LPARAM>(FDonationPicture.get());
    ::SendMessageW(Control(PayPal_Image), STM_SETIMAGE, IMAGE_BITMAP, picture);
    // Setting a picture may fit the control to it; the control keeps its bounds.
    FForm.Place(PayPal_Image);
}

// With common controls 6 the picture control keeps a copy of a picture with
// alpha, which it gives back here and which is the box's to free.
void TOVL_About::TakeBackDonationPicture() {
    UniqueBitmap shown(reinterpret_cast<HBITMAP>(
        ::SendMessageW(Control(PayPal_Image), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(nullptr))));
    if (shown.get() == FDonationPicture.get()) shown.release();
}

void TOVL_About::OnCommand(int id, int code) {
    if (id == IDOK || id == IDCANCEL) ::EndDialog(Handle(), id);
    if (code != STN_CLICKED) return;
    if (id == URL_Label) URL_LabelClick();
    if (id == Email_Label) Email_LabelClick();
    if (id == PayPal_Image) PayPal_ImageClick();
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

void TOVL_About::PayPal_ImageClick() { FServices.openAddress(Handle(), kDonationAddress); }

// The link turns navy, and is seen so, before the address opens; it stays
// navy for the rest of the box's life.
void TOVL_About::VisitLink(AboutControl label, bool& visited) {
    visited = true;
    const HWND control = Control(label);
    ::InvalidateRect(control, nullptr, TRUE);
    ::UpdateWindow(control);
    FServices.openAddress(Handle(), WindowText(control));
}

}  // namespace orvalet::win32
