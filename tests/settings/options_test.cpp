#include "settings/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/memory_registry_store.h"
#include "support/options_samples.h"

namespace orvalet {
namespace {

using ::testing::ElementsAreArray;
using testing::EveryFieldChanged;
using testing::IsStringValue;
using testing::MemoryRegistryStore;
using testing::StoredValueNames;

constexpr wchar_t kKey[] = L"Software\\Orvalet";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The tests themselves are the platform: an in-memory registry and fixed answers.
class Settings : public ::testing::Test, public SettingsPlatform {
protected:
    RegistryStore& Registry() override { return registry_; }
    WorkAreaSize PrimaryWorkAreaSize() override { return workArea_; }
    std::wstring ExecutablePath() override { return executablePath_; }
    std::optional<OSVersionInfo> QueryOSVersion() override { return osVersion_; }

    // Loads over a record that differs everywhere, so a value not loaded shows.
    OVL_OptionsRecord Load(bool runOnStartup = false) {
        OVL_OptionsRecord options = EveryFieldChanged();
        options.RunOnStartup = runOnStartup;
        LoadOptions(options, *this);
        return options;
    }
    void Store(const wchar_t* name, RegistryValue value) { registry_.SetValue(kKey, name, std::move(value)); }

    MemoryRegistryStore registry_;
    WorkAreaSize workArea_{1920, 1040};
    std::wstring executablePath_ = L"C:\\Program Files\\Orvalet\\Orvalet.exe";
    std::optional<OSVersionInfo> osVersion_;
};

TEST_F(Settings, AnEmptyStoreGivesTheDefaultsAndKeepsAnEmptyKeyAndAnInaccessibleOneIsLeftAlone) {
    const OVL_OptionsRecord options = Load();
    EXPECT_EQ(options, DefaultOptions(workArea_));
    EXPECT_EQ(options, (OVL_OptionsRecord{.WindowLeft = 1920 - 352, .WindowTop = 1040 - 272}));
    EXPECT_TRUE(registry_.KeyExists(kKey));
    EXPECT_TRUE(registry_.ValueNames(kKey).empty());
    EXPECT_TRUE(registry_.Writes().empty());

    Store(L"WindowWidth", MakeDwordValue(400));
    registry_.DenyAccess(kKey);
    EXPECT_EQ(Load(), DefaultOptions(workArea_));
    SaveOptions(EveryFieldChanged(), registry_);
    EXPECT_TRUE(registry_.Writes().empty());
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(Settings, TheDefaultPositionFollowsTheStoredSizeWithoutOverflowing) {
    Store(L"WindowWidth", MakeDwordValue(400));
    OVL_OptionsRecord options = Load();
    EXPECT_EQ(options.WindowLeft, 1920 - 432);
    EXPECT_EQ(options.WindowTop, 1040 - 272);

    workArea_ = {1920, 0};
    Store(L"WindowWidth", MakeDwordValue(0x80000000u));   // INT_MIN
    Store(L"WindowHeight", MakeDwordValue(0x7FFFFFFFu));  // INT_MAX
    options = Load();
    EXPECT_EQ(options.WindowWidth, INT_MIN);
    EXPECT_EQ(options.WindowLeft, INT_MAX);
    EXPECT_EQ(options.WindowTop, INT_MIN);

    Store(L"WindowLeft", MakeDwordValue(static_cast<std::uint32_t>(-50)));
    EXPECT_EQ(Load().WindowLeft, -50) << "a stored position wins over the default";
}

TEST_F(Settings, SaveWritesTheFiftySixValuesInOrderAndLoadReproducesEveryFieldButRunOnStartup) {
    OVL_OptionsRecord saved = EveryFieldChanged();
    saved.MonitoredInterface = *ParseGuid(L"{abcdef01-2345-6789-abcd-ef0123456789}");
    saved.RunOnStartup = true;
    SaveOptions(saved, registry_);

    std::vector<std::wstring> names;
    for (const auto& write : registry_.Writes()) {
        names.push_back(write.name);
        EXPECT_EQ(write.key, kKey);
        const auto expected = IsStringValue(write.name) ? RegistryValueKind::String : RegistryValueKind::Dword;
        EXPECT_EQ(write.value.kind, expected) << ::testing::PrintToString(write.name);
    }
    EXPECT_THAT(names, ElementsAreArray(StoredValueNames()));
    EXPECT_EQ(registry_.Value(kKey, L"StartMinimized"), MakeDwordValue(1));
    EXPECT_EQ(registry_.Value(kKey, L"Autoscale"), MakeDwordValue(0));
    EXPECT_EQ(registry_.Value(kKey, L"WindowLeft"), MakeDwordValue(static_cast<std::uint32_t>(-1200)));
    EXPECT_EQ(registry_.Value(kKey, L"MonitoredInterface"), MakeStringValue(L"{ABCDEF01-2345-6789-ABCD-EF0123456789}"));
    // Every font and colour value holds its own field, not a neighbour's.
    const GR_ColorType& c = saved.Colors;
    const std::pair<const wchar_t*, std::int32_t> numbers[] = {
        {L"UDLabelFontSize", saved.Fonts[1].Size}, {L"UDLabelFontBold", 1}, {L"UDLabelFontItalic", 0},
        {L"MVLabelFontSize", saved.Fonts[2].Size}, {L"MVLabelFontBold", 0}, {L"MVLabelFontItalic", 1},
        {L"IFLabelFontSize", saved.Fonts[3].Size}, {L"IFLabelFontBold", 1}, {L"IFLabelFontItalic", 1},
        {L"Color_GR_Download", c.GR_Download}, {L"Color_GR_Upload", c.GR_Upload}, {L"Color_GR_UpDn", c.GR_UpDn},
        {L"Color_GR_BkGr1", c.GR_BkGr1}, {L"Color_GR_BkGr2", c.GR_BkGr2}, {L"Color_GR_Grid", c.GR_Grid},
        {L"Color_PN_DL", c.PN_DL}, {L"Color_PN_DL_Outline", c.PN_DL_Outline}, {L"Color_PN_UL", c.PN_UL},
        {L"Color_PN_UL_Outline", c.PN_UL_Outline}, {L"Color_PN_BkGr", c.PN_BkGr}, {L"Color_MV_Font", c.MV_Font},
        {L"Color_MV_Outline", c.MV_Outline}, {L"Color_MV_BkGr", c.MV_BkGr}, {L"Color_IF_Font", c.IF_Font},
        {L"Color_IF_Outline", c.IF_Outline}};
    for (const auto& [name, number] : numbers)
        EXPECT_EQ(registry_.Value(kKey, name), MakeDwordValue(static_cast<std::uint32_t>(number)))
            << ::testing::PrintToString(std::wstring(name));
    EXPECT_EQ(registry_.Value(kKey, L"MVLabelFontName"), MakeStringValue(saved.Fonts[2].Name));

    OVL_OptionsRecord loaded = Load(/*runOnStartup=*/false);
    EXPECT_FALSE(loaded.RunOnStartup) << "left untouched by the load";
    loaded.RunOnStartup = true;
    EXPECT_EQ(loaded, saved);
    EXPECT_TRUE(Load(/*runOnStartup=*/true).RunOnStartup);
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(Settings, StoredNumbersLoadAsTheyAreWhileWrongTypesBadGuidsAndUnofferedChoicesFallBackFieldByField) {
    SaveOptions(EveryFieldChanged(), registry_);
    Store(L"StartMinimized", MakeDwordValue(7));  // any non-zero number is true
    Store(L"ClickThrough", MakeDwordValue(0x80000000u));
    Store(L"AlwaysOnTop", MakeDwordValue(0));
    Store(L"TransparencyValue", MakeDwordValue(300));  // beyond opaque: clamped
    Store(L"VertGrid", MakeDwordValue(static_cast<std::uint32_t>(-5)));  // no spacing: the default
    Store(L"WindowWidth", MakeStringValue(L"400"));
    Store(L"DisplayAverageValues", {RegistryValueKind::Binary, {1, 0, 0, 0}});
    Store(L"WindowStyle", {RegistryValueKind::Qword, {2, 0, 0, 0, 0, 0, 0, 0}});
    Store(L"MVDisplayUnit", {RegistryValueKind::Dword, {2, 0}});  // truncated
    Store(L"UDLabelFontName", MakeDwordValue(5));
    Store(L"MVLabelFontName", {RegistryValueKind::String, {'A', 0, 'r'}});  // odd length
    Store(L"Color_GR_Download", MakeStringValue(L"255"));

    OVL_OptionsRecord expected = EveryFieldChanged();
    const OVL_OptionsRecord defaults;
    expected.TransparencyValue = 255;
    expected.VertGrid = defaults.VertGrid;
    expected.WindowWidth = defaults.WindowWidth;
    expected.DisplayAverageValues = defaults.DisplayAverageValues;
    expected.WindowStyle = defaults.WindowStyle;
    expected.MVDisplayUnit = defaults.MVDisplayUnit;
    expected.Fonts[1].Name = defaults.Fonts[1].Name;
    expected.Fonts[2].Name = defaults.Fonts[2].Name;
    expected.Colors.GR_Download = defaults.Colors.GR_Download;
    EXPECT_EQ(Load(), expected);

    expected.MonitoredInterface = AllHardwareInterfacesGUID;
    for (const wchar_t* bad : {L"", L"not a guid", L"DE4D6822-35B0-436D-A6E9-377B4C76EA42",
                               L"{DE4D6822-35B0-436D-A6E9-377B4C76EA4}", L"{DE4D6822-35B0-436D-A6E9-377B4C76EA4G}"}) {
        Store(L"MonitoredInterface", MakeStringValue(bad));
        EXPECT_EQ(Load(), expected) << ::testing::PrintToString(std::wstring(bad));
    }
    Store(L"MonitoredInterface", MakeStringValue(L"{01234567-89ab-cdef-0123-456789abcdef}"));
    EXPECT_EQ(Load().MonitoredInterface, EveryFieldChanged().MonitoredInterface);
}

TEST_F(Settings, AccessorsCloseTheirKeysAndOnlyTheBooleanReaderLeavesAMissingKeyUncreated) {
    EXPECT_TRUE(RegReadBool(registry_, kKey, L"X", true));
    EXPECT_FALSE(registry_.KeyExists(kKey));
    EXPECT_EQ(RegReadInteger(registry_, kKey, L"X", -3), -3);
    EXPECT_TRUE(registry_.KeyExists(kKey));
    EXPECT_EQ(RegReadString(registry_, L"Software\\Other", L"X", L"fallback"), L"fallback");
    EXPECT_TRUE(registry_.KeyExists(L"Software\\Other"));
    EXPECT_TRUE(registry_.ValueNames(L"Software\\Other").empty());

    RegWriteBool(registry_, kKey, L"B", true);
    RegWriteInteger(registry_, kKey, L"I", -7);
    RegWriteString(registry_, kKey, L"S", L"text");
    EXPECT_TRUE(RegReadBool(registry_, kKey, L"B", false));
    EXPECT_EQ(RegReadInteger(registry_, kKey, L"I", 0), -7);
    EXPECT_EQ(RegReadString(registry_, kKey, L"S", L""), L"text");
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(Settings, AutostartEntryHoldsTheQuotedPathAndIsTouchedOnlyWhenTheStateChanges) {
    registry_.OpenKey(kRunKey, KeyAccess::Create);
    UpdateAutostart(false, *this);
    EXPECT_TRUE(registry_.Writes().empty());
    EXPECT_FALSE(QueryAutostart(registry_));

    UpdateAutostart(true, *this);
    EXPECT_EQ(registry_.Writes().size(), 1u);
    EXPECT_TRUE(QueryAutostart(registry_));
    EXPECT_EQ(registry_.Value(kRunKey, L"Orvalet"), MakeStringValue(L"\"C:\\Program Files\\Orvalet\\Orvalet.exe\""));

    // Any existing entry counts, whatever it holds, and is left as it is.
    registry_.SetValue(kRunKey, L"Orvalet", MakeDwordValue(0));
    UpdateAutostart(true, *this);
    EXPECT_EQ(registry_.Writes().size(), 1u);
    EXPECT_EQ(registry_.Value(kRunKey, L"Orvalet"), MakeDwordValue(0));
    EXPECT_EQ(registry_.DeleteCount(), 0);

    UpdateAutostart(false, *this);
    EXPECT_EQ(registry_.DeleteCount(), 1);
    EXPECT_FALSE(QueryAutostart(registry_));
    EXPECT_TRUE(registry_.KeyExists(kRunKey));
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(Settings, AMissingOrInaccessibleRunKeyReadsAsNoAutostartEntryAndIsNeverCreated) {
    EXPECT_FALSE(QueryAutostart(registry_));
    EXPECT_FALSE(WriteAutostart(*this));
    DeleteAutostart(registry_);
    UpdateAutostart(true, *this);
    EXPECT_FALSE(registry_.KeyExists(kRunKey));

    registry_.SetValue(kRunKey, L"Orvalet", MakeStringValue(L"x"));
    registry_.DenyAccess(kRunKey);
    EXPECT_FALSE(QueryAutostart(registry_));
    EXPECT_FALSE(WriteAutostart(*this));
    DeleteAutostart(registry_);
    EXPECT_EQ(registry_.DeleteCount(), 0);
}

TEST_F(Settings, AnUnknownExecutablePathWritesNoEmptyAutostartEntry) {
    registry_.SetValue(kRunKey, L"Other", MakeStringValue(L"x"));
    executablePath_.clear();
    EXPECT_FALSE(WriteAutostart(*this));
    UpdateAutostart(true, *this);
    EXPECT_FALSE(QueryAutostart(registry_));
}

TEST_F(Settings, OSVersionCheckAcceptsNtSystemsFromTheGivenMajorVersionOn) {
    const struct {
        std::optional<OSVersionInfo> version;
        std::uint32_t minimum;
        bool accepted;
    } cases[] = {{OSVersionInfo{2, 5, 0}, 6, false}, {OSVersionInfo{2, 6, 0}, 6, true},
                 {OSVersionInfo{2, 10, 0}, 6, true}, {OSVersionInfo{1, 10, 0}, 6, false},  // not the NT family
                 {OSVersionInfo{2, 10, 0}, 0xFFFFFFFFu, false},                             // unsigned comparison
                 {std::nullopt, 0, false}};                                                 // no answer
    for (const auto& test : cases) {
        osVersion_ = test.version;
        EXPECT_EQ(CheckOSVersion(test.minimum, *this), test.accepted)
            << (test.version ? test.version->majorVersion : 0) << " " << test.minimum;
    }
}

}  // namespace
}  // namespace orvalet
