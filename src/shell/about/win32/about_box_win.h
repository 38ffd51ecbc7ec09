#pragma once
// The about box: the program's name and version, the build date, the credit
// line and the licence, with links to the project's web page, its e-mail
// address and a donation page. A modal dialog whose controls are created in
// code, so that the dialog manager handles the keyboard (Tab, Enter, Esc).
#include <windows.h>

#include <functional>
#include <string>

#include "base/win32/base_window.h"
#include "base/win32/dialog_form_win.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

// Control identifiers, in the order of the form's components.
enum AboutControl : int {
    URL_Label = 1001,
    Email_Label,
    Orvalet_Label,
    Author_Label,
    BuildDate_Label,
    FreeSoftware_Label,
    Panel1,
    PayPal_Image,
    Memo1,
    Button1 = IDOK,
};

// Link colours: blue until clicked, navy afterwards.
inline constexpr COLORREF kLinkColor = RGB(0, 0, 255);
inline constexpr COLORREF kVisitedLinkColor = RGB(0, 0, 128);

// The system's own services, which the fields below start out as: the
// shell's "open" verb, shown normally, and the system's contrast setting.
void OpenAddress(HWND owner, const std::wstring& address);
bool HighContrastOn();

struct AboutBoxServices {
    // Opens an address over the box; a failure passes silently.
    std::function<void(HWND owner, const std::wstring& address)> openAddress = &OpenAddress;
    // Whether a high-contrast theme is on.
    std::function<bool()> highContrast = &HighContrastOn;
};

class TOVL_About final : public BaseWindow<TOVL_About> {
public:
    explicit TOVL_About(AboutBoxServices services = {});
    ~TOVL_About() override;

    // Shows the box over its owner, centred on the owner's monitor, and
    // returns when it closes: IDOK from the button or Enter, IDCANCEL from
    // Esc or the close button, -1 when it could not be shown.
    INT_PTR ShowModal(HWND owner);

    // While shown: the box (Handle) and its controls.
    HWND Control(AboutControl id) const noexcept;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void FormCreate();
    void ShowDonationPicture(UINT dpi);
    void TakeBackDonationPicture();
    void OnCommand(int id, int code);
    HBRUSH OnControlColor(HDC dc, HWND control) const;
    bool OnSetCursor(HWND control) const;

    void URL_LabelClick();
    void Email_LabelClick();
    void PayPal_ImageClick();
    void VisitLink(AboutControl label, bool& visited);

    AboutBoxServices FServices;
    DialogForm FForm;
    UniqueBitmap FDonationPicture;
    bool FURLVisited = false;
    bool FEmailVisited = false;
};

}  // namespace orvalet::win32
