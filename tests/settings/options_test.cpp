#include "settings/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "fake_settings_platform.h"
#include "options_samples.h"

namespace orvalet {
namespace {

using ::testing::ElementsAreArray;
using testing::EveryFieldChanged;
using testing::FakeSettingsPlatform;
using testing::IsStringValue;
using testing::StoredValueNames;

constexpr wchar_t kKey[] = L"Software\\Orvalet";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class OptionsPersistence : public ::testing::Test {
protected:
    OVL_OptionsRecord Load(bool runOnStartup = false) {
        OVL_OptionsRecord options;
        options.RunOnStartup = runOnStartup;
        LoadOptions(options, platform_);
        return options;
    }
    void Store(const wchar_t* name, RegistryValue value) { platform_.registry.SetValue(kKey, name, std::move(value)); }

    FakeSettingsPlatform platform_;
};

TEST_F(OptionsPersistence, EmptyRegistryGivesTheFactoryDefaults) {
    const OVL_OptionsRecord options = Load();
    EXPECT_EQ(options, DefaultOptions(platform_.workArea));

    EXPECT_EQ(options.WindowWidth, 320);
    EXPECT_EQ(options.WindowHeight, 240);
    EXPECT_EQ(options.WindowLeft, 1920 - 352);
    EXPECT_EQ(options.WindowTop, 1040 - 272);
    EXPECT_EQ(options.MonitoredInterface.ToString(), L"{DE4D6822-35B0-436D-A6E9-377B4C76EA42}");
    EXPECT_FALSE(options.StartMinimized);
    EXPECT_TRUE(options.ListEnabledHardwareInterfacesOnly);
    EXPECT_EQ(options.WindowStyle, 1);
    EXPECT_EQ(options.TransparencyValue, 205);
    EXPECT_EQ(options.UDDisplayUnit, 3);
    EXPECT_EQ(options.MVDisplayUnit, 0);
    EXPECT_EQ(options.VertGrid, 60);
    EXPECT_EQ(options.Fonts, GR_DefaultFonts);
    EXPECT_EQ(options.Colors, GR_DefaultColors);
}

TEST_F(OptionsPersistence, LoadOnAnEmptyRegistryLeavesTheKeyBehindWithoutValuesOrOpenHandles) {
    Load();
    EXPECT_TRUE(platform_.registry.KeyExists(kKey));
    EXPECT_TRUE(platform_.registry.ValueNames(kKey).empty());
    EXPECT_TRUE(platform_.registry.Writes().empty());
    EXPECT_EQ(platform_.registry.OpenHandleCount(), 0);
}

TEST_F(OptionsPersistence, DefaultPositionFollowsTheStoredSize) {
    Store(L"WindowWidth", MakeDwordValue(400));
    const OVL_OptionsRecord options = Load();
    EXPECT_EQ(options.WindowLeft, 1920 - 432);
    EXPECT_EQ(options.WindowTop, 1040 - 272);

    Store(L"WindowLeft", MakeDwordValue(static_cast<std::uint32_t>(-50)));
    EXPECT_EQ(Load().WindowLeft, -50) << "a stored position wins over the default";
}

TEST_F(OptionsPersistence, DefaultPositionOfAnExtremeStoredSizeDoesNotOverflow) {
    platform_.workArea = {1920, 0};
    Store(L"WindowWidth", MakeDwordValue(0x80000000u));   // INT_MIN
    Store(L"WindowHeight", MakeDwordValue(0x7FFFFFFFu));  // INT_MAX
    const OVL_OptionsRecord options = Load();
    EXPECT_EQ(options.WindowWidth, INT_MIN);
    EXPECT_EQ(options.WindowLeft, INT_MAX);
    EXPECT_EQ(options.WindowTop, INT_MIN);
}

TEST_F(OptionsPersistence, SaveThenLoadReproducesEveryFieldButRunOnStartup) {
    OVL_OptionsRecord saved = EveryFieldChanged();
    saved.RunOnStartup = true;
    SaveOptions(saved, platform_.registry);

    OVL_OptionsRecord loaded = Load(/*runOnStartup=*/false);
    EXPECT_FALSE(loaded.RunOnStartup) << "left untouched by the load";
    loaded.RunOnStartup = true;
    EXPECT_EQ(loaded, saved);

    EXPECT_TRUE(Load(/*runOnStartup=*/true).RunOnStartup);
    EXPECT_EQ(platform_.registry.OpenHandleCount(), 0);
}

TEST_F(OptionsPersistence, SaveWritesTheFiftySixValuesInOrderWithTheirTypes) {
    SaveOptions(EveryFieldChanged(), platform_.registry);

    const auto& writes = platform_.registry.Writes();
    std::vector<std::wstring> names;
    for (const auto& write : writes) {
        names.push_back(write.name);
        EXPECT_EQ(write.key, kKey);
        const auto expected = IsStringValue(write.name) ? RegistryValueKind::String : RegistryValueKind::Dword;
        EXPECT_EQ(write.value.kind, expected) << std::string(write.name.begin(), write.name.end());
    }
    EXPECT_EQ(names.size(), 56u);
    EXPECT_THAT(names, ElementsAreArray(StoredValueNames()));
    EXPECT_FALSE(platform_.registry.Value(kKey, L"RunOnStartup"));
}

TEST_F(OptionsPersistence, SaveEncodesBooleansAsZeroOrOneAndTheGuidAsUpperCaseText) {
    OVL_OptionsRecord options = EveryFieldChanged();
    options.MonitoredInterface = *ParseGuid(L"{abcdef01-2345-6789-abcd-ef0123456789}");
    SaveOptions(options, platform_.registry);
    auto& store = platform_.registry;
    EXPECT_EQ(store.Value(kKey, L"StartMinimized"), MakeDwordValue(1));
    EXPECT_EQ(store.Value(kKey, L"Autoscale"), MakeDwordValue(0));
    EXPECT_EQ(store.Value(kKey, L"WindowLeft"), MakeDwordValue(static_cast<std::uint32_t>(-1200)));
    EXPECT_EQ(store.Value(kKey, L"MonitoredInterface"),
              MakeStringValue(L"{ABCDEF01-2345-6789-ABCD-EF0123456789}"));
}

TEST_F(OptionsPersistence, BooleansReadAnyNonZeroNumberAsTrue) {
    Store(L"StartMinimized", MakeDwordValue(7));
    Store(L"AlwaysOnTop", MakeDwordValue(0));
    Store(L"ClickThrough", MakeDwordValue(0x80000000u));
    const OVL_OptionsRecord options = Load();
    EXPECT_TRUE(options.StartMinimized);
    EXPECT_FALSE(options.AlwaysOnTop);
    EXPECT_TRUE(options.ClickThrough);
}

TEST_F(OptionsPersistence, TransparencyOutsideTheOpacityRangeIsReadBackUnchanged) {
    Store(L"TransparencyValue", MakeDwordValue(300));
    EXPECT_EQ(Load().TransparencyValue, 300);
    Store(L"TransparencyValue", MakeDwordValue(static_cast<std::uint32_t>(-5)));
    EXPECT_EQ(Load().TransparencyValue, -5);
}

TEST_F(OptionsPersistence, ValuesOfTheWrongTypeKeepTheirDefaultWhileTheirNeighboursLoad) {
    SaveOptions(EveryFieldChanged(), platform_.registry);
    Store(L"WindowWidth", MakeStringValue(L"400"));
    Store(L"StartMinimized", {RegistryValueKind::Binary, {1, 0, 0, 0}});
    Store(L"WindowStyle", {RegistryValueKind::Qword, {2, 0, 0, 0, 0, 0, 0, 0}});
    Store(L"TransparencyValue", {RegistryValueKind::Dword, {12, 0}});  // truncated
    Store(L"UDLabelFontName", MakeDwordValue(5));
    Store(L"MVLabelFontName", {RegistryValueKind::String, {'A', 0, 'r'}});  // odd length
    Store(L"Color_GR_Download", MakeStringValue(L"255"));

    OVL_OptionsRecord expected = EveryFieldChanged();
    const OVL_OptionsRecord defaults;
    expected.WindowWidth = defaults.WindowWidth;
    expected.StartMinimized = defaults.StartMinimized;
    expected.WindowStyle = defaults.WindowStyle;
    expected.TransparencyValue = defaults.TransparencyValue;
    expected.Fonts[1].Name = defaults.Fonts[1].Name;
    expected.Fonts[2].Name = defaults.Fonts[2].Name;
    expected.Colors.GR_Download = defaults.Colors.GR_Download;
    EXPECT_EQ(Load(), expected);
}

TEST_F(OptionsPersistence, AnInterfaceTextThatIsNotAGuidKeepsTheDefault) {
    for (const wchar_t* bad : {L"", L"not a guid", L"DE4D6822-35B0-436D-A6E9-377B4C76EA42",
                               L"{DE4D6822-35B0-436D-A6E9-377B4C76EA4}", L"{DE4D6822-35B0-436D-A6E9-377B4C76EA4G}"}) {
        Store(L"MonitoredInterface", MakeStringValue(bad));
        Store(L"VertGrid", MakeDwordValue(30));
        const OVL_OptionsRecord options = Load();
        EXPECT_EQ(options.MonitoredInterface, AllHardwareInterfacesGUID);
        EXPECT_EQ(options.VertGrid, 30) << "the load goes on after the bad value";
    }
    Store(L"MonitoredInterface", MakeStringValue(L"{01234567-89ab-cdef-0123-456789abcdef}"));
    EXPECT_EQ(Load().MonitoredInterface.ToString(), L"{01234567-89AB-CDEF-0123-456789ABCDEF}");
}

TEST_F(OptionsPersistence, AnInaccessibleKeyGivesDefaultsAndSavesNothing) {
    platform_.registry.DenyAccess(kKey);
    EXPECT_EQ(Load(), DefaultOptions(platform_.workArea));
    SaveOptions(EveryFieldChanged(), platform_.registry);
    EXPECT_TRUE(platform_.registry.Writes().empty());
    EXPECT_EQ(platform_.registry.OpenHandleCount(), 0);
}

TEST(RegistryAccessors, OnlyTheBooleanReaderLeavesAMissingKeyUncreated) {
    MemoryRegistryStore store;
    EXPECT_TRUE(RegReadBool(store, kKey, L"X", true));
    EXPECT_FALSE(store.KeyExists(kKey));

    EXPECT_EQ(RegReadInteger(store, kKey, L"X", -3), -3);
    EXPECT_TRUE(store.KeyExists(kKey));

    MemoryRegistryStore other;
    EXPECT_EQ(RegReadString(other, L"Software\\Other", L"X", L"fallback"), L"fallback");
    EXPECT_TRUE(other.KeyExists(L"Software\\Other"));
    EXPECT_TRUE(other.ValueNames(L"Software\\Other").empty());
}

TEST(RegistryAccessors, EachCallClosesTheKeyItOpened) {
    MemoryRegistryStore store;
    RegWriteBool(store, kKey, L"B", true);
    RegWriteInteger(store, kKey, L"I", -7);
    RegWriteString(store, kKey, L"S", L"text");
    EXPECT_EQ(store.OpenHandleCount(), 0);
    EXPECT_TRUE(RegReadBool(store, kKey, L"B", false));
    EXPECT_EQ(RegReadInteger(store, kKey, L"I", 0), -7);
    EXPECT_EQ(RegReadString(store, kKey, L"S", L""), L"text");
    EXPECT_EQ(store.OpenHandleCount(), 0);
}

class Autostart : public ::testing::Test {
protected:
    void CreateRunKey() { platform_.registry.OpenKey(kRunKey, KeyAccess::Create); }
    std::optional<std::wstring> StoredCommand() const {
        const auto value = platform_.registry.Value(kRunKey, L"Orvalet");
        return value ? DecodeString(*value) : std::nullopt;
    }

    FakeSettingsPlatform platform_;
};

TEST_F(Autostart, EntryHoldsTheExecutablePathInQuotes) {
    CreateRunKey();
    EXPECT_FALSE(QueryAutostart(platform_.registry));
    EXPECT_TRUE(WriteAutostart(platform_));
    EXPECT_TRUE(QueryAutostart(platform_.registry));
    EXPECT_EQ(StoredCommand(), L"\"C:\\Program Files\\Orvalet\\Orvalet.exe\"");
    EXPECT_EQ(platform_.registry.OpenHandleCount(), 0);

    DeleteAutostart(platform_.registry);
    EXPECT_FALSE(QueryAutostart(platform_.registry));
    EXPECT_TRUE(platform_.registry.KeyExists(kRunKey));
}

TEST_F(Autostart, AnyExistingEntryCountsWhateverItHolds) {
    platform_.registry.SetValue(kRunKey, L"Orvalet", MakeStringValue(L"C:\\Old Place\\Orvalet.exe"));
    EXPECT_TRUE(QueryAutostart(platform_.registry));
    platform_.registry.SetValue(kRunKey, L"Orvalet", MakeDwordValue(0));
    EXPECT_TRUE(QueryAutostart(platform_.registry));
}

TEST_F(Autostart, WithoutARunKeyNothingIsCreatedAndTheQueryTellsTheTruth) {
    EXPECT_FALSE(QueryAutostart(platform_.registry));
    EXPECT_FALSE(WriteAutostart(platform_));
    DeleteAutostart(platform_.registry);
    UpdateAutostart(true, platform_);
    EXPECT_FALSE(platform_.registry.KeyExists(kRunKey));
    EXPECT_FALSE(QueryAutostart(platform_.registry));
}

TEST_F(Autostart, AnInaccessibleRunKeyReadsAsNoEntry) {
    platform_.registry.SetValue(kRunKey, L"Orvalet", MakeStringValue(L"x"));
    platform_.registry.DenyAccess(kRunKey);
    EXPECT_FALSE(QueryAutostart(platform_.registry));
    EXPECT_FALSE(WriteAutostart(platform_));
    DeleteAutostart(platform_.registry);
    EXPECT_EQ(platform_.registry.DeleteCount(), 0);
}

TEST_F(Autostart, UpdateTouchesTheRegistryOnlyWhenTheStateChanges) {
    CreateRunKey();
    UpdateAutostart(false, platform_);
    EXPECT_TRUE(platform_.registry.Writes().empty());
    EXPECT_EQ(platform_.registry.DeleteCount(), 0);

    UpdateAutostart(true, platform_);
    EXPECT_EQ(platform_.registry.Writes().size(), 1u);
    EXPECT_TRUE(QueryAutostart(platform_.registry));

    // An entry pointing elsewhere already counts: it is left as it is.
    platform_.registry.SetValue(kRunKey, L"Orvalet", MakeStringValue(L"elsewhere.exe"));
    UpdateAutostart(true, platform_);
    EXPECT_EQ(platform_.registry.Writes().size(), 1u);
    EXPECT_EQ(StoredCommand(), L"elsewhere.exe");

    UpdateAutostart(false, platform_);
    EXPECT_EQ(platform_.registry.DeleteCount(), 1);
    EXPECT_FALSE(QueryAutostart(platform_.registry));
}

TEST(OSVersionCheck, AcceptsNtSystemsFromTheGivenMajorVersionOn) {
    FakeSettingsPlatform platform;
    const auto check = [&](std::uint32_t platformId, std::uint32_t major, std::uint32_t minimum) {
        platform.osVersion = OSVersionInfo{platformId, major, 0};
        return CheckOSVersion(minimum, platform);
    };
    EXPECT_FALSE(check(2, 5, 6));
    EXPECT_TRUE(check(2, 6, 6));
    EXPECT_TRUE(check(2, 10, 6));
    EXPECT_FALSE(check(1, 10, 6)) << "not the NT family";
    EXPECT_FALSE(check(2, 10, 0xFFFFFFFFu)) << "unsigned comparison";

    platform.osVersion.reset();
    EXPECT_FALSE(CheckOSVersion(0, platform)) << "no answer from the system";
}

}  // namespace
}  // namespace orvalet
