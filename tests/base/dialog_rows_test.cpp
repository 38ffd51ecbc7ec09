#include "base/dialog_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvalet {
namespace {

struct Settings {
    bool sound = false;
    bool quiet = true;
    std::wstring voice = L"none";

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The list shows the voice's entry; an entry the user chose names the voice.
constexpr FieldBinding<Settings> kVoice{
    .item = [](const Settings& s, ListItems voices) {
        for (std::size_t i = 0; i < voices.size(); ++i)
            if (voices[i] == s.voice) return static_cast<int>(i);
        return kNoItem;
    },
    .choose = [](Settings& s, int item, ListItems voices) { s.voice = voices[static_cast<std::size_t>(item)]; }};

constexpr ControlRow<Settings> kRows[] = {
    {1, 0, ControlKind::CheckBox, L"Sound", {3, 3, 80, 17}, Flag<&Settings::sound>()},
    {2, 0, ControlKind::FirstRadio, L"Quiet", {3, 26, 80, 17}, Flag<&Settings::quiet>()},
    {3, 0, ControlKind::Radio, L"Loud", {90, 26, 80, 17}, Flag<&Settings::quiet>(true)},
    {4, 1, ControlKind::DropDownList, nullptr, {3, 3, 120, 21}, kVoice},
    {5, 1, ControlKind::Label, L"Voice:", {3, 30, 40, 13}},
};

TEST(DialogRows, EachBindingShowsItsFieldAndStoresIntoItAlone) {
    const std::vector<std::wstring> voices{L"none", L"low", L"high"};
    const Settings start;
    const struct {
        int id, state;
        Settings stored;
    } cases[] = {
        {1, 1, {true, true, L"none"}},  {1, 0, start},
        {2, 0, {false, false, L"none"}}, {2, 1, start},
        {3, 1, {false, false, L"none"}}, {3, 0, start},  // checked while the flag is clear
        {4, 2, {false, true, L"high"}},  {4, 0, start},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << c.id << ", state " << c.state);
        const ControlRow<Settings>& row = *FindRow<Settings>(kRows, c.id);
        ASSERT_TRUE(IsBound(row));
        Settings settings = start;
        StoreState(row, settings, c.state, voices);
        EXPECT_EQ(settings, c.stored);
        EXPECT_EQ(ShownState(row, settings, voices), c.state);
    }
    // The radio buttons of one flag show it each their own way.
    EXPECT_EQ(ShownState(kRows[1], start, voices), 1);
    EXPECT_EQ(ShownState(kRows[2], start, voices), 0);
}

TEST(DialogRows, AnUnboundRowShowsNothingStoresNothingAndRowsAreFoundByTheirIds) {
    const ControlRow<Settings>& label = kRows[4];
    EXPECT_FALSE(IsBound(label));
    ControlRow<Settings> half = kRows[3];
    half.binding.choose = nullptr;  // a list that cannot store is not bound
    EXPECT_FALSE(IsBound(half));
    Settings settings;
    EXPECT_EQ(ShownState(label, settings, {}), kNoItem);
    StoreState(label, settings, 1, {});
    EXPECT_EQ(settings, Settings{});
    EXPECT_EQ(FindRow<Settings>(kRows, 4), &kRows[3]);
    EXPECT_EQ(FindRow<Settings>(kRows, 6), nullptr);
}

TEST(DialogRows, EachAdditionSetsItsOwnPartOfTheRow) {
    static constexpr std::wstring_view entries[] = {L"a", L"b"};
    const DesignBounds bounds = Within({8, 8, 300, 200}, {2, 3, 50, 60});
    const ControlRow<> row = ControlRow<>(7, kOnForm, ControlKind::ListBox, nullptr, bounds)
                                 .WithFont(FontRole::Memo)
                                 .WithItems(entries)
                                 .WithHint(L"hint")
                                 .WithAccessibleName(L"name");
    EXPECT_EQ(row.id, 7);
    EXPECT_EQ(row.page, kOnForm);
    EXPECT_EQ(row.kind, ControlKind::ListBox);
    EXPECT_EQ((std::vector<int>{row.bounds.left, row.bounds.top, row.bounds.width, row.bounds.height}),
              (std::vector<int>{10, 11, 50, 60}));
    EXPECT_EQ(row.font, FontRole::Memo);
    EXPECT_EQ(row.items.data(), entries);
    EXPECT_STREQ(row.hint, L"hint");
    EXPECT_STREQ(row.accessibleName, L"name");
}

}  // namespace
}  // namespace orvalet
