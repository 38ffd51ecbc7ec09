#include "settings/options_dialog_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/options.h"

namespace orvalet {
namespace {

using enum OptionsControl;

bool Shares(int a, int b) {
    const int fadeIn = static_cast<int>(RadioFadein), fadeOut = static_cast<int>(RadioFadeout);
    return (a == fadeIn && b == fadeOut) || (a == fadeOut && b == fadeIn);
}

// Every control that edits an option shows what it stored, and changes its
// own option alone: every other control still shows what it showed, and set
// back, the record is what it was. Only the two radio buttons share one.
TEST(OptionsDialogRows, EachControlEditsItsOwnOptionAlone) {
    const std::vector<std::wstring> names{L"Arial", L"Default", L"Tahoma"};
    const OVL_OptionsRecord start;
    const std::span<const OptionsRow> rows = OptionsDialogRows();
    for (const OptionsRow& row : rows) {
        const ControlKind kind = row.kind;
        const bool edits = kind == ControlKind::CheckBox || kind == ControlKind::FirstRadio ||
                           kind == ControlKind::Radio || kind == ControlKind::DropDownList ||
                           kind == ControlKind::TrackBar;
        EXPECT_EQ(IsBound(row), edits) << row.id;
        if (!IsBound(row)) continue;
        const int shown = ShownState(row, start, names);
        ASSERT_NE(shown, kNoItem) << row.id;
        const bool flag = row.binding.flag != nullptr;
        // Checked while the option is set; "fade out" alone stands for its clear flag.
        if (flag) {
            EXPECT_EQ(row.binding.inverse, row.id == static_cast<int>(RadioFadeout)) << row.id;
        }
        for (const int state : flag ? std::vector<int>{0, 1} : std::vector<int>{0, 1, 2}) {
            SCOPED_TRACE(::testing::Message() << "control " << row.id << ", state " << state);
            OVL_OptionsRecord record = start;
            StoreState(row, record, state, names);
            EXPECT_EQ(ShownState(row, record, names), state);
            EXPECT_EQ(record == start, state == shown);
            for (const OptionsRow& other : rows) {
                if (!IsBound(other) || other.id == row.id || Shares(row.id, other.id)) continue;
                EXPECT_EQ(ShownState(other, record, names), ShownState(other, start, names)) << other.id;
            }
            StoreState(row, record, shown, names);
            EXPECT_EQ(record, start);
        }
    }
}

}  // namespace
}  // namespace orvalet
