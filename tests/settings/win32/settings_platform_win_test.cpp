#include "settings/win32/settings_platform_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "settings/options.h"
#include "support/options_samples.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::EveryFieldChanged;
using orvalet::testing::IsStringValue;
using orvalet::testing::StoredValueNames;

constexpr wchar_t kSandbox[] = L"Software\\Orvalet Test Sandbox";
constexpr wchar_t kOptionsPath[] = L"Software\\Orvalet";
constexpr wchar_t kRunPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A key under HKEY_CURRENT_USER, opened (or created) for all access; empty on failure.
UniqueKey CurrentUserKey(const std::wstring& path, bool create = false) {
    UniqueKey key;
    const LSTATUS status = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                      nullptr, key.put(), nullptr)
                                  : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, key.put());
    if (status != ERROR_SUCCESS) key.release();
    return key;
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    friend bool operator==(const RawValue&, const RawValue&) = default;
};

RawValue Text(const std::wstring& text, DWORD type = REG_SZ) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {type, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

// All values of a key, by name; none when the key cannot be opened.
std::map<std::wstring, RawValue> Values(const std::wstring& path) {
    std::map<std::wstring, RawValue> values;
    const UniqueKey key = CurrentUserKey(path);
    for (DWORD index = 0; key; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0;
        BYTE data[1024];
        DWORD size = sizeof(data);
        if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[std::wstring(name, nameLength)] = {type, std::vector<BYTE>(data, data + size)};
    }
    return values;
}

void SetRaw(HKEY key, const std::wstring& name, const RawValue& value) {
    ASSERT_EQ(::RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(), DWORD(value.data.size())),
              ERROR_SUCCESS);
}

std::wstring QuotedModulePath() {
    wchar_t path[MAX_PATH * 4];
    return L"\"" + std::wstring(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4)) + L"\"";
}

// Runs against the real registry, but beneath a key of its own that is
// removed before and after each test.
class SandboxedRegistry : public ::testing::Test {
protected:
    SandboxedRegistry() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSandbox); }
    ~SandboxedRegistry() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSandbox); }

    OVL_OptionsRecord Load() {
        OVL_OptionsRecord options;
        orvalet::LoadOptions(options, platform_);
        return options;
    }

    const std::wstring optionsPath_ = std::wstring(kSandbox) + L"\\" + kOptionsPath;
    const std::wstring runPath_ = std::wstring(kSandbox) + L"\\" + kRunPath;
    SystemSettingsPlatform platform_{kSandbox};
};

TEST_F(SandboxedRegistry, OptionsRoundTripWithTheRegistryTypesAndFallBackFieldByField) {
    EXPECT_EQ(Load(), DefaultOptions(platform_.PrimaryWorkAreaSize()));
    EXPECT_TRUE(CurrentUserKey(optionsPath_)) << "the load leaves the key behind";
    EXPECT_TRUE(Values(optionsPath_).empty());

    orvalet::SaveOptions(EveryFieldChanged(), platform_.Registry());
    EXPECT_EQ(Load(), EveryFieldChanged());
    auto values = Values(optionsPath_);
    EXPECT_EQ(values.size(), 56u);
    for (const std::wstring& name : StoredValueNames())
        EXPECT_EQ(values[name].type, IsStringValue(name) ? DWORD{REG_SZ} : DWORD{REG_DWORD}) << name;
    EXPECT_EQ(values[L"UDLabelFontName"], Text(L"Courier New"));
    EXPECT_EQ(values[L"MonitoredInterface"], Text(L"{01234567-89AB-CDEF-0123-456789ABCDEF}"));

    const UniqueKey key = CurrentUserKey(optionsPath_);
    SetRaw(key.get(), L"WindowHeight", Text(L"100"));
    SetRaw(key.get(), L"AlwaysOnTop", {REG_BINARY, {1, 0, 0, 0}});
    SetRaw(key.get(), L"VertGrid", {REG_QWORD, {30, 0, 0, 0, 0, 0, 0, 0}});
    SetRaw(key.get(), L"TransparencyValue", {REG_DWORD, {12, 0}});
    SetRaw(key.get(), L"IFLabelFontName", {REG_DWORD, {1, 0, 0, 0}});
    SetRaw(key.get(), L"MVLabelFontName", Text(L"%WINDIR%", REG_EXPAND_SZ));
    SetRaw(key.get(), L"MonitoredInterface", Text(L"{not-a-guid}"));
    OVL_OptionsRecord expected = EveryFieldChanged();
    const OVL_OptionsRecord defaults;
    expected.WindowHeight = defaults.WindowHeight;
    expected.AlwaysOnTop = defaults.AlwaysOnTop;
    expected.VertGrid = defaults.VertGrid;
    expected.TransparencyValue = defaults.TransparencyValue;
    expected.Fonts[3].Name = defaults.Fonts[3].Name;
    expected.Fonts[2].Name = defaults.Fonts[2].Name;
    expected.MonitoredInterface = defaults.MonitoredInterface;
    EXPECT_EQ(Load(), expected);
}

TEST_F(SandboxedRegistry, AutostartIsTheQuotedExecutablePathAndAnUnchangedStateTouchesNothing) {
    EXPECT_FALSE(orvalet::WriteAutostart(platform_));
    orvalet::DeleteAutostart(platform_.Registry());
    EXPECT_FALSE(orvalet::QueryAutostart(platform_.Registry()));
    EXPECT_FALSE(CurrentUserKey(runPath_)) << "a missing Run key is not created";

    const UniqueKey run = CurrentUserKey(runPath_, true);
    EXPECT_FALSE(orvalet::QueryAutostart(platform_.Registry()));
    orvalet::UpdateAutostart(true, platform_);
    EXPECT_TRUE(orvalet::QueryAutostart(platform_.Registry()));
    EXPECT_EQ(Values(runPath_)[L"Orvalet"], Text(QuotedModulePath()));
    orvalet::UpdateAutostart(false, platform_);
    EXPECT_FALSE(orvalet::QueryAutostart(platform_.Registry()));
    EXPECT_TRUE(Values(runPath_).empty());

    SetRaw(run.get(), L"Orvalet", Text(L"C:\\Old\\Orvalet.exe"));
    orvalet::UpdateAutostart(true, platform_);
    EXPECT_EQ(Values(runPath_)[L"Orvalet"], Text(L"C:\\Old\\Orvalet.exe"));
    orvalet::DeleteAutostart(platform_.Registry());
    orvalet::UpdateAutostart(false, platform_);
    EXPECT_TRUE(Values(runPath_).empty());
}

// Puts the values of a key (or only the one named) back as they were when the
// guard was made; a key that did not exist is removed again.
class RegistryBackup {
public:
    explicit RegistryBackup(std::wstring path, std::wstring only = {})
        : path_(std::move(path)), only_(std::move(only)) {
        if (CurrentUserKey(path_)) saved_ = Values(path_);
    }
    ~RegistryBackup() {
        if (only_.empty()) ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        if (!saved_) return;
        const UniqueKey key = CurrentUserKey(path_, true);
        if (!only_.empty()) ::RegDeleteValueW(key.get(), only_.c_str());
        for (const auto& [name, value] : *saved_)
            if (only_.empty() || name == only_) SetRaw(key.get(), name, value);
    }
    RegistryBackup(const RegistryBackup&) = delete;
    RegistryBackup& operator=(const RegistryBackup&) = delete;

private:
    std::wstring path_, only_;
    std::optional<std::map<std::wstring, RawValue>> saved_;
};

TEST(UserSettings, LiveUnderTheCurrentUsersOwnKeys) {
    ASSERT_TRUE(CurrentUserKey(kRunPath)) << "the Run key belongs to every user profile";
    const RegistryBackup options(kOptionsPath), autostart(kRunPath, L"Orvalet");
    SystemSettingsPlatform& settings = SystemSettings();
    RegistryStore& registry = settings.Registry();
    OVL_OptionsRecord record;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kOptionsPath);
    LoadOptions(record, settings);
    EXPECT_TRUE(CurrentUserKey(kOptionsPath)) << "the load leaves the key behind";
    EXPECT_EQ(record.WindowWidth, 320);
    record = EveryFieldChanged();
    SaveOptions(record, registry);
    record = OVL_OptionsRecord{};
    LoadOptions(record, settings);
    EXPECT_EQ(record, EveryFieldChanged());
    EXPECT_EQ(Values(kOptionsPath).size(), 56u);

    DeleteAutostart(registry);
    EXPECT_FALSE(QueryAutostart(registry));
    EXPECT_TRUE(WriteAutostart(settings));
    EXPECT_TRUE(QueryAutostart(registry));
    EXPECT_EQ(Values(kRunPath)[L"Orvalet"], Text(QuotedModulePath()));
    DeleteAutostart(registry);
    EXPECT_FALSE(QueryAutostart(registry));
}

TEST(SystemServices, ReportTheRunningSystemAndProgram) {
    SystemSettingsPlatform platform;
    const auto version = platform.QueryOSVersion();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->platformId, 2u);
    EXPECT_TRUE(CheckOSVersion(6, platform));
    EXPECT_FALSE(CheckOSVersion(version->majorVersion + 1, platform));

    EXPECT_EQ(L"\"" + platform.ExecutablePath() + L"\"", QuotedModulePath());
    EXPECT_TRUE(platform.ExecutablePath().ends_with(L"settings_win_tests.exe"));
    const WorkAreaSize area = platform.PrimaryWorkAreaSize();
    EXPECT_GT(area.width, 0);
    EXPECT_GT(area.height, 0);
    EXPECT_EQ(DefaultOptions(area).WindowLeft, area.width - 352);
}

}  // namespace
}  // namespace orvalet::win32
