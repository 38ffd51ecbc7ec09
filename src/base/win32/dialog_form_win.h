#pragma once
// The controls of a dialog made from its rows (base/dialog_rows.h), inside
// a dialog box from an empty in-memory template, so that the dialog manager
// keeps the keyboard. The form makes each control in place with the font of
// its role, puts the controls of a page on a child dialog shown by the tabs,
// widens labels to their text, gives hints and accessible names, sets the
// program's icons, centres the dialog on its owner's monitor, and lays it
// all out again when the dialog moves to a monitor of another DPI. Bound
// controls show and store their record's fields through their bindings.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "base/dialog_rows.h"
#include "base/win32/accessible_names_win.h"
#include "base/win32/dialog_look_win.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

// What a dialog's form needs besides its rows.
struct FormDesign {
    int clientWidth = 0;  // pixels at 96 DPI
    int clientHeight = 0;
    // The tabs' captions, one a page; none: every control sits on the dialog.
    std::span<const wchar_t* const> pageCaptions{};
    // Styles every control takes besides its kind's; a Radio never starts a group.
    DWORD controlStyle = 0;
    // Makes a Custom row's control at its bounds; null when the system refuses.
    std::function<HWND(const ControlLayout& row, HWND parent, const RECT& bounds)> createCustom{};
    // Lays out what the rows do not say, after them, for a DPI.
    std::function<void(UINT dpi)> layOut{};
    // How controls get their accessible names; empty: AccessibleNames' default.
    AccessibleNames::Annotate nameControl{};
};

// A control's id: an int, or an enumerator of a dialog's ids.
struct ControlId {
    template <typename Id>
        requires std::is_enum_v<Id> || std::is_integral_v<Id>
    constexpr ControlId(Id id) : value(static_cast<int>(id)) {}
    int value;
};

class DialogPage;

class DialogForm {
public:
    template <typename Record>
    DialogForm(std::span<const ControlRow<Record>> rows, FormDesign design)
        : DialogForm(Layouts(rows), std::move(design)) {}
    DialogForm(const DialogForm&) = delete;
    DialogForm& operator=(const DialogForm&) = delete;
    ~DialogForm();

    // At WM_INITDIALOG: makes and lays out the controls, centres the dialog
    // and, with pages, shows the first with the focus on the tabs. False
    // when a control could not be made.
    bool Open(HWND dialog);

    // Takes a DPI change and the tabs' page change, and lets go of hooks,
    // hints and names as the dialog is destroyed (which the dialog still
    // sees). True when the message is the form's alone.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Item(ControlId id) const;
    UINT Dpi() const { return dpi_; }

    // Back to its bounds, a label widened to its text.
    void Place(ControlId id);
    void SetText(ControlId id, const std::wstring& text);
    // A list's entries; selecting from code tells no handler.
    void Fill(ControlId id, std::vector<std::wstring> items);
    ListItems Items(ControlId id) const;
    // A check box's state (0 or 1), a list's item (kNoItem: none), a track
    // bar's position.
    int State(ControlId id) const;
    void SetState(ControlId id, int state) const;

    void ShowPage(int page);

    // Every bound control shows its field of the record.
    template <typename Record>
    void Show(std::span<const ControlRow<Record>> rows, const Record& record) const {
        for (const ControlRow<Record>& row : rows)
            if (IsBound(row)) SetState(row.id, ShownState(row, record, Items(row.id)));
    }

    // A WM_COMMAND or WM_HSCROLL with which the user set a bound control:
    // its field takes the control's state. The row stored, or null.
    template <typename Record>
    const ControlRow<Record>* Store(std::span<const ControlRow<Record>> rows, UINT message, WPARAM wParam,
                                    LPARAM lParam, Record& record) const {
        const ControlRow<Record>* row = FindRow(rows, ChangedControl(message, wParam, lParam));
        if (!row || !IsBound(*row)) return nullptr;
        StoreState(*row, record, State(row->id), Items(row->id));
        return row;
    }

private:
    template <typename Record>
    static std::vector<const ControlLayout*> Layouts(std::span<const ControlRow<Record>> rows) {
        std::vector<const ControlLayout*> layouts;
        for (const ControlRow<Record>& row : rows) layouts.push_back(&row);
        return layouts;
    }
    DialogForm(std::vector<const ControlLayout*> layouts, FormDesign design);

    struct Control {
        const ControlLayout* layout;
        HWND window = nullptr;
        std::vector<std::wstring> items{};
    };
    const Control* Find(ControlId id) const;
    Control* Find(ControlId id);

    // The id of the control a notification says the user set; 0 for none.
    int ChangedControl(UINT message, WPARAM wParam, LPARAM lParam) const;
    HWND CreateControl(Control& control);
    void CreateHints();
    void MakeFonts(UINT dpi);
    HFONT FontOf(const ControlLayout& layout) const;
    void Layout(UINT dpi);
    void LayOutForm();
    bool SwitchPageByKey(const MSG& message);
    static LRESULT CALLBACK PageKeysHook(int code, WPARAM wParam, LPARAM lParam) noexcept;

    FormDesign design_;
    std::vector<Control> controls_;
    std::vector<std::unique_ptr<DialogPage>> pages_;
    HWND dialog_ = nullptr;
    HWND tabs_ = nullptr;
    UINT dpi_ = 96;
    std::array<UniqueFont, 4> fonts_;  // by FontRole, those the rows use
    ProgramIcons icons_;
    UniqueWindow tooltips_;
    UniqueHook pageKeysHook_;
    AccessibleNames accessibleNames_;
};

}  // namespace orvalet::win32
