#pragma once
// The program's icon in the notification area: its picture, its hint and
// its balloon notifications.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

// What the meter needs of a notification-area icon. The main window talks
// to this interface so that tests can watch what it shows.
class NotificationIcon {
public:
    virtual ~NotificationIcon() = default;
    // The icon takes a copy of the picture; the caller keeps its own.
    virtual void SetIcon(HICON icon) = 0;
    // Only the first 127 characters are shown. A hint equal to the shown one
    // may be ignored.
    virtual void SetHint(std::wstring_view hint) = 0;
    // A notification with the error icon, no title, shown for 10 seconds.
    virtual void ShowBalloon(std::wstring_view text) = 0;
    // Puts the icon back into a notification area that was rebuilt (Explorer
    // restarted), with its current picture and hint.
    virtual void Reinstate() = 0;
};

// What the user did to the icon, decoded from its callback message.
enum class TrayIconEvent { None, Click, ContextMenu };

struct TrayIconNotification {
    TrayIconEvent event = TrayIconEvent::None;
    POINT anchor{};  // screen point of the event
};

// A notification-area icon owned by a window. It is added on construction
// and removed on destruction; its mouse events arrive at the owner as
// callbackMessage. When Explorer restarts, it broadcasts
// TaskbarCreatedMessage(); the owner then calls Reinstate.
class TrayIcon final : public NotificationIcon {
public:
    static constexpr UINT kBalloonTimeoutMs = 10000;

    TrayIcon(HWND owner, UINT callbackMessage, HICON initialIcon, UINT id = 1);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() override;

    void SetIcon(HICON icon) override;
    void SetHint(std::wstring_view hint) override;
    void ShowBalloon(std::wstring_view text) override;
    void Reinstate() override;

    // Whether the notification area currently holds the icon.
    bool IsShown() const noexcept { return shown_; }
    const std::wstring& Hint() const noexcept { return hint_; }
    // Changes of picture or hint sent to the notification area so far.
    unsigned long Updates() const noexcept { return updates_; }

    // Decodes a callback message sent in the NOTIFYICON_VERSION_4 form.
    static TrayIconNotification DecodeCallback(WPARAM wParam, LPARAM lParam) noexcept;
    static UINT TaskbarCreatedMessage() noexcept;

private:
    NOTIFYICONDATAW Data(UINT flags) const noexcept;
    bool Add() noexcept;
    void Modify(UINT flags) noexcept;

    HWND owner_;
    UINT id_;
    UINT callbackMessage_;
    UniqueIcon icon_;
    std::wstring hint_;
    bool shown_ = false;
    unsigned long updates_ = 0;
};

}  // namespace orvalet::win32
