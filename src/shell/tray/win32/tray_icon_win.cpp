#include "shell/tray/win32/tray_icon_win.h"

#include <windowsx.h>

#include <algorithm>

#include "shell/tray/tray_hint.h"

namespace orvalet::win32 {
namespace {

template <std::size_t N>
void CopyText(wchar_t (&target)[N], std::wstring_view text) noexcept {
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.data(), length, target);
    target[length] = L'\0';
}

HICON CopyOrNull(HICON icon) noexcept { return icon ? ::CopyIcon(icon) : nullptr; }

}  // namespace

TrayIcon::TrayIcon(HWND owner, UINT callbackMessage, HICON initialIcon, UINT id)
    : owner_(owner),
      id_(id),
      callbackMessage_(callbackMessage),
      icon_(CopyOrNull(initialIcon)) {
    Add();
}

// Removed whatever the last call reported: a failed modify does not prove
// the shell has dropped the icon.
TrayIcon::~TrayIcon() {
    NOTIFYICONDATAW data = Data(0);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

UINT TrayIcon::TaskbarCreatedMessage() noexcept {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const noexcept {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = id_;
    data.uFlags = flags;
    return data;
}

bool TrayIcon::Add() noexcept {
    // Version 4 keeps the standard tooltip only with NIF_SHOWTIP.
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon_.get();
    CopyText(data.szTip, hint_);
    // The shell also broadcasts "TaskbarCreated" when the icons survived
    // (a DPI change, for one); then the add fails and a modify does the job.
    shown_ = ::Shell_NotifyIconW(NIM_ADD, &data) || ::Shell_NotifyIconW(NIM_MODIFY, &data);
    if (shown_) {
        data.uVersion = NOTIFYICON_VERSION_4;
        ::Shell_NotifyIconW(NIM_SETVERSION, &data);
    }
    return shown_;
}

void TrayIcon::Modify(UINT flags) noexcept {
    // An icon that could not be added (no notification area yet, as early in
    // a logon) is added with its current state at the next change instead.
    if (!shown_) {
        Add();
        return;
    }
    NOTIFYICONDATAW data = Data(flags | NIF_SHOWTIP);
    data.hIcon = icon_.get();
    CopyText(data.szTip, hint_);
    ++updates_;
    if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) shown_ = false;
}

void TrayIcon::SetIcon(HICON icon) {
    icon_.reset(CopyOrNull(icon));
    Modify(NIF_ICON);
}

// The shell is asked to change a tip only when its text changes; an icon
// not shown yet is still added at the next call.
void TrayIcon::SetHint(std::wstring_view hint) {
    const std::wstring_view tip = TrayHintPart(hint);
    if (shown_ && tip == hint_) return;
    hint_.assign(tip);
    Modify(NIF_TIP);
}

void TrayIcon::ShowBalloon(std::wstring_view text) {
    if (!shown_ && !Add()) return;
    NOTIFYICONDATAW data = Data(NIF_INFO);
    CopyText(data.szInfo, text);
    data.szInfoTitle[0] = L'\0';
    data.uTimeout = kBalloonTimeoutMs;
    data.dwInfoFlags = NIIF_ERROR;
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::Reinstate() { Add(); }

TrayIconNotification TrayIcon::DecodeCallback(WPARAM wParam, LPARAM lParam) noexcept {
    TrayIconNotification notification;
    notification.anchor = {GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)};
    switch (LOWORD(lParam)) {
        case NIN_SELECT:
        case NIN_KEYSELECT:
            notification.event = TrayIconEvent::Click;
            break;
        case WM_CONTEXTMENU:
            notification.event = TrayIconEvent::ContextMenu;
            break;
        default:
            break;
    }
    return notification;
}

}  // namespace orvalet::win32
