#include "shell/win32/about_box_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/error_handler.h"
#include "base/win32/dpi_win.h"
#include "shell/about_texts.h"
#include "shell/project_links.h"
#include "shell/win32/resource_ids.h"
#include "shell/win32/resource_images_win.h"

namespace orvalet::win32 {
namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kClientWidth = 344;
constexpr int kClientHeight = 277;
constexpr int kFontHeight = 11;       // "Tahoma" 8 point at 96 DPI
constexpr int kTitleFontHeight = 15;  // the program name, bold

constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kLink = kLabel | SS_NOTIFY;  // SS_NOTIFY: clicks and the hand cursor reach the box

enum class FontKind { Form, Title, Memo, Link };

struct Bounds {
    int left, top, width, height;
};

struct ControlLayout {
    AboutControl id;
    const wchar_t* windowClass;
    const wchar_t* text;  // the memo's is set after creation
    DWORD style;
    DWORD exStyle;
    Bounds bounds;  // at 96 DPI, in the panel unless it is the button
    FontKind font;
};

// In tab order: the panel's controls (the memo is its only tab stop), then the button.
constexpr ControlLayout kControls[] = {
    {Orvalet_Label, L"STATIC", kProgramNameCaption, kLabel, 0, {10, 10, 102, 18}, FontKind::Title},
    {BuildDate_Label, L"STATIC", kBuildDateCaption, kLabel, 0, {10, 35, 51, 13}, FontKind::Form},
    {Author_Label, L"STATIC", kCreditLine, kLabel, 0, {10, 54, 194, 13}, FontKind::Form},
    {FreeSoftware_Label, L"STATIC", kDistributionLine, kLabel, 0, {10, 73, 130, 13}, FontKind::Form},
    {Memo1, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
     WS_EX_CLIENTEDGE, {10, 98, 303, 87}, FontKind::Memo},
    {URL_Label, L"STATIC", kWebPageAddress, kLink, 0, {10, 191, 199, 13}, FontKind::Link},
    {Email_Label, L"STATIC", kEmailAddress, kLink, 0, {10, 207, 123, 13}, FontKind::Link},
    {PayPal_Image, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY, 0,
     {248, 191, 65, 33}, FontKind::Form},
    {Button1, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {130, 247, 75, 25},
     FontKind::Form},
};
constexpr Bounds kPanelBounds{8, 8, 328, 233};

Bounds ScaledBounds(const Bounds& design, UINT dpi) {
    return {Scale(design.left, dpi), Scale(design.top, dpi), Scale(design.width, dpi), Scale(design.height, dpi)};
}

UniqueFont MakeFont(const wchar_t* face, int height, UINT dpi, int weight = FW_NORMAL, bool underline = false) {
    return UniqueFont(::CreateFontW(-Scale(height, dpi), 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, face));
}

// A dialog template without controls: only the frame and the caption.
std::vector<WORD> FormTemplate() {
    DLGTEMPLATE header{};
    header.style = kFormStyle;
    std::vector<WORD> data(sizeof header / sizeof(WORD));
    std::memcpy(data.data(), &header, sizeof header);
    data.push_back(0);  // no menu
    data.push_back(0);  // the standard dialog class
    for (const wchar_t* c = kAboutBoxCaption; *c; ++c) data.push_back(static_cast<WORD>(*c));
    data.push_back(0);
    return data;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsLabel(const ControlLayout& control) {
    return std::wstring_view(control.windowClass) == L"STATIC" && control.id != PayPal_Image;
}

// A label grows to its text, as an auto-sized label does, so that a caption
// completed at creation (or drawn wider by the system's font) is never cut.
void WidenToText(HWND label) {
    const std::wstring text = WindowText(label);
    const WindowDC dc(label);
    const auto font = Select(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    RECT client{};
    ::GetClientRect(label, &client);
    if (!::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent) ||
        extent.cx <= client.right)
        return;
    ::SetWindowPos(label, nullptr, 0, 0, extent.cx, client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The shell wants COM on the calling thread for some of its handlers.
void ShellOpen(HWND owner, const std::wstring& address) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace

// ---- Panel -----------------------------------------------------------------

bool AboutPanel::Create(HWND box, int left, int top, int width, int height) {
    return CreateWindowHandle(WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, left,
                              top, width, height, box,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(Panel1)));
}

void AboutPanel::CustomizeClass(WNDCLASSEXW& windowClass) {
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
}

LRESULT AboutPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return ::SendMessageW(::GetParent(Handle()), message, wParam, lParam);
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

// ---- Box -------------------------------------------------------------------

TOVL_About::TOVL_About(AboutBoxServices services) : services_(std::move(services)) {
    if (!services_.openAddress) {
        services_.openAddress = [this](const std::wstring& address) { ShellOpen(window_, address); };
    }
}

TOVL_About::~TOVL_About() = default;

INT_PTR TOVL_About::ShowModal(HWND owner) {
    owner_ = owner;
    const std::vector<WORD> form = FormTemplate();
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(form.data()),
                                     owner, &TOVL_About::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND TOVL_About::Control(AboutControl id) const noexcept {
    if (id == Button1 || id == Panel1) return ::GetDlgItem(window_, id);
    return panel_ ? ::GetDlgItem(panel_->Handle(), id) : nullptr;
}

INT_PTR CALLBACK TOVL_About::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TOVL_About*>(lParam);
        self->window_ = window;
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<TOVL_About*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    RunGuarded([&] { result = self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) self->window_ = nullptr;
    return result;
}

INT_PTR TOVL_About::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FormCreate();
            ::SetFocus(Control(Button1));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<INT_PTR>(
                OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_SETCURSOR:
            if (!OnSetCursor(reinterpret_cast<HWND>(wParam))) return FALSE;
            ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        default:
            return FALSE;
    }
}

void TOVL_About::FormCreate() {
    const UINT dpi = WindowDpi(window_);
    PlaceForm();
    CreateFonts(dpi);
    CreateControls(dpi);
    ShowDonationPicture(dpi);

    const HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(ORVALET_IDI_MAIN), IMAGE_ICON,
                                                       0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (icon) ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

    const auto append = [this](AboutControl id, const wchar_t* text) {
        const std::wstring caption = WindowText(Control(id)) + L" " + text;
        ::SetWindowTextW(Control(id), caption.c_str());
    };
    append(Orvalet_Label, kProgramVersion);
    append(BuildDate_Label, kBuildDate);
    for (const ControlLayout& control : kControls)
        if (IsLabel(control)) WidenToText(Control(control.id));
}

// The client area at its size for the DPI, centred on the owner's monitor.
void TOVL_About::PlaceForm() {
    const UINT dpi = WindowDpi(window_);
    RECT frame{0, 0, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi)};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(owner_ ? owner_ : window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& screen = monitor.rcMonitor;
    ::SetWindowPos(window_, nullptr, (screen.left + screen.right - width) / 2,
                   (screen.top + screen.bottom - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TOVL_About::CreateFonts(UINT dpi) {
    formFont_ = MakeFont(L"Tahoma", kFontHeight, dpi);
    titleFont_ = MakeFont(L"Tahoma", kTitleFontHeight, dpi, FW_BOLD);
    memoFont_ = MakeFont(L"Consolas", kFontHeight, dpi);
    linkFont_ = MakeFont(L"Tahoma", kFontHeight, dpi, FW_NORMAL, true);
}

void TOVL_About::CreateControls(UINT dpi) {
    panel_ = std::make_unique<AboutPanel>();
    const Bounds panel = ScaledBounds(kPanelBounds, dpi);
    panel_->Create(window_, panel.left, panel.top, panel.width, panel.height);
    const HFONT fonts[] = {formFont_.get(), titleFont_.get(), memoFont_.get(), linkFont_.get()};
    for (const ControlLayout& control : kControls) {
        const Bounds bounds = ScaledBounds(control.bounds, dpi);
        const HWND parent = control.id == Button1 ? window_ : panel_->Handle();
        const HWND created = ::CreateWindowExW(control.exStyle, control.windowClass, control.text, control.style,
                                               bounds.left, bounds.top, bounds.width, bounds.height, parent,
                                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                               ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[static_cast<int>(control.font)]), FALSE);
    }
    ::SetWindowTextW(Control(Memo1), std::wstring(LicenceMemoText()).c_str());
}

void TOVL_About::ShowDonationPicture(UINT dpi) {
    donationPicture_ = LoadScaledBitmap(::GetModuleHandleW(nullptr), ORVALET_IDB_DONATION, dpi);
    const HWND image = Control(PayPal_Image);
    ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(donationPicture_.get()));
    // Setting a picture may fit the control to it; the control keeps its bounds.
    for (const ControlLayout& control : kControls) {
        if (control.id != PayPal_Image) continue;
        const Bounds bounds = ScaledBounds(control.bounds, dpi);
        ::SetWindowPos(image, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TOVL_About::OnCommand(int id, int code) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
            ::EndDialog(window_, id);
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

HBRUSH TOVL_About::OnControlColor(HDC dc, HWND control) const {
    const int id = ::GetDlgCtrlID(control);
    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    int background = COLOR_WINDOW;
    if (id == Orvalet_Label || id == Memo1) text = RGB(0, 0, 0);
    if (id == URL_Label) {
        text = urlVisited_ ? kVisitedLinkColor : kLinkColor;
        background = COLOR_BTNFACE;
    }
    if (id == Email_Label) text = emailVisited_ ? kVisitedLinkColor : kLinkColor;
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

void TOVL_About::URL_LabelClick() { VisitLink(URL_Label, urlVisited_); }

void TOVL_About::Email_LabelClick() { VisitLink(Email_Label, emailVisited_); }

void TOVL_About::PayPal_ImageClick() { services_.openAddress(kDonationAddress); }

// The link turns navy, and is seen so, before the address opens; it stays
// navy for the rest of the box's life.
void TOVL_About::VisitLink(AboutControl label, bool& visited) {
    visited = true;
    const HWND control = Control(label);
    ::InvalidateRect(control, nullptr, TRUE);
    ::UpdateWindow(control);
    services_.openAddress(WindowText(control));
}

}  // namespace orvalet::win32
