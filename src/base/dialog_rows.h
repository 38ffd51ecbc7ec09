#pragma once
// A dialog described as a table of rows, one a control: what the control is,
// where it lies, how it looks, and, for a control that edits a field of a
// record, the binding that shows the field and stores what the user sets.
// The window system makes the controls from the rows (win32/dialog_form_win.h);
// the rows and their bindings need no window.
#include <span>
#include <string>
#include <string_view>

namespace orvalet {

// Pixels at 96 DPI, relative to the client area of the control's parent.
struct DesignBounds {
    int left, top, width, height;
};

// The bounds of a control drawn over a frame, given within the frame.
constexpr DesignBounds Within(const DesignBounds& frame, const DesignBounds& bounds) {
    return {frame.left + bounds.left, frame.top + bounds.top, bounds.width, bounds.height};
}

enum class ControlKind {
    Tabs,  // the tab control over the pages
    Button,
    DefaultButton,  // the button Enter presses
    CheckBox,
    FirstRadio,  // a radio button that starts a group
    Radio,
    Label,  // as wide as its bounds or its text, whichever is wider
    Link,   // a label that takes clicks
    DropDownList,
    TrackBar,
    ListBox,
    Memo,     // read-only text with a vertical scroll bar
    Picture,  // a bitmap the dialog gives it, taking clicks
    Frame,    // a flat frame under the controls it frames
    Custom,   // made by the dialog itself
};

enum class FontRole {
    Dialog,  // the dialog's font
    Title,   // the dialog's face, larger and bold
    Memo,    // a fixed-width face
    Link,    // the dialog's font, underlined
};

// An item index of a list control; no selection.
inline constexpr int kNoItem = -1;

// The page of a control that sits on the dialog itself.
inline constexpr int kOnForm = -1;

// The entries of a list, as the dialog filled it.
using ListItems = std::span<const std::wstring>;

// What a control is and where it lies.
struct ControlLayout {
    int id;
    int page;  // kOnForm or a page index
    ControlKind kind;
    const wchar_t* caption;
    DesignBounds bounds;
    FontRole font = FontRole::Dialog;
    // The fixed entries of a list, filled as the dialog opens.
    std::span<const std::wstring_view> items{};
    // A tooltip over the control, shown whether it is enabled or not.
    const wchar_t* hint = nullptr;
    // The name screen readers give a control that no label before it names.
    const wchar_t* accessibleName = nullptr;
};

// A control's tie to a field of the record the dialog edits. A check box or
// radio button shows a flag, checked while the flag is set (inverse: while
// it is clear). A list or track bar shows the item (position) that stands
// for the field, or kNoItem, and the field takes the item the user chose.
template <typename Record>
struct FieldBinding {
    bool& (*flag)(Record&) = nullptr;
    bool inverse = false;
    int (*item)(const Record&, ListItems items) = nullptr;
    void (*choose)(Record&, int item, ListItems items) = nullptr;
};

// The binding of a check box to a flag field of the record.
template <auto field, typename Record>
constexpr FieldBinding<Record> FlagBinding(bool Record::*, bool inverse) {
    return {[](Record& record) -> bool& { return record.*field; }, inverse};
}
template <auto field>
constexpr auto Flag(bool inverse = false) {
    return FlagBinding<field>(field, inverse);
}

// The rows of a dialog that edits no record.
struct NoRecord {};

template <typename Record = NoRecord>
struct ControlRow : ControlLayout {
    FieldBinding<Record> binding{};

    constexpr ControlRow(int id, int page, ControlKind kind, const wchar_t* caption, DesignBounds bounds,
                         FieldBinding<Record> fieldBinding = {})
        : ControlLayout{id, page, kind, caption, bounds}, binding(fieldBinding) {}

    constexpr ControlRow WithFont(FontRole role) const { return With(&ControlLayout::font, role); }
    constexpr ControlRow WithItems(std::span<const std::wstring_view> entries) const {
        return With(&ControlLayout::items, entries);
    }
    constexpr ControlRow WithHint(const wchar_t* text) const { return With(&ControlLayout::hint, text); }
    constexpr ControlRow WithAccessibleName(const wchar_t* name) const {
        return With(&ControlLayout::accessibleName, name);
    }

private:
    template <typename Field, typename Value>
    constexpr ControlRow With(Field ControlLayout::*field, Value value) const {
        ControlRow row = *this;
        row.*field = value;
        return row;
    }
};

// The row of an id; null when no row has it.
template <typename Record>
constexpr const ControlRow<Record>* FindRow(std::span<const ControlRow<Record>> rows, int id) {
    for (const ControlRow<Record>& row : rows)
        if (row.id == id) return &row;
    return nullptr;
}

template <typename Record>
constexpr bool IsBound(const ControlRow<Record>& row) {
    return row.binding.flag || (row.binding.item && row.binding.choose);
}

// What a bound control shows for the record: a check box's state (0 or 1),
// a list's item, a track bar's position.
template <typename Record>
int ShownState(const ControlRow<Record>& row, const Record& record, ListItems items) {
    // The flag's accessor only reads here.
    if (row.binding.flag) return row.binding.flag(const_cast<Record&>(record)) != row.binding.inverse ? 1 : 0;
    return row.binding.item ? row.binding.item(record, items) : kNoItem;
}

// The record takes what the user set a bound control to.
template <typename Record>
void StoreState(const ControlRow<Record>& row, Record& record, int state, ListItems items) {
    if (row.binding.flag) {
        row.binding.flag(record) = (state != 0) != row.binding.inverse;
    } else if (row.binding.choose) {
        row.binding.choose(record, state, items);
    }
}

}  // namespace orvalet
