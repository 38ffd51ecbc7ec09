#include "settings/win32/settings_platform_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "../options_samples.h"
#include "base/win32/unique_handle.h"
#include "settings/options.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::EveryFieldChanged;
using orvalet::testing::IsStringValue;
using orvalet::testing::StoredValueNames;

constexpr wchar_t kSandbox[] = L"Software\\Orvalet Test Sandbox";
constexpr wchar_t kOptionsPath[] = L"Software\\Orvalet";
constexpr wchar_t kRunPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring Join(const std::wstring& a, const std::wstring& b) { return a + L"\\" + b; }

UniqueKey OpenCurrentUserKey(const std::wstring& path, REGSAM access = KEY_READ) {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

UniqueKey CreateCurrentUserKey(const std::wstring& path) {
    UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        key.release();
    }
    return key;
}

struct RawValue {
    DWORD type;
    std::vector<BYTE> data;
};

// All values of a key without sub-keys, by name.
std::map<std::wstring, RawValue> ReadAllValues(HKEY key) {
    std::map<std::wstring, RawValue> values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        DWORD type = 0;
        BYTE data[1024];
        DWORD size = sizeof(data);
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[std::wstring(name, nameLength)] = {type, std::vector<BYTE>(data, data + size)};
    }
    return values;
}

void SetRaw(HKEY key, const wchar_t* name, DWORD type, std::vector<BYTE> data) {
    ASSERT_EQ(::RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
}

std::optional<std::wstring> ReadStringValue(const std::wstring& path, const wchar_t* name) {
    wchar_t text[1024];
    DWORD size = sizeof(text);
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(text);
}

std::wstring ModulePath() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::wstring(path, length);
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

    const std::wstring optionsPath_ = Join(kSandbox, kOptionsPath);
    const std::wstring runPath_ = Join(kSandbox, kRunPath);
    SystemSettingsPlatform platform_{kSandbox};
};

TEST_F(SandboxedRegistry, LoadOnAFreshAccountGivesDefaultsAndLeavesAnEmptyKey) {
    EXPECT_EQ(Load(), DefaultOptions(platform_.PrimaryWorkAreaSize()));

    const UniqueKey key = OpenCurrentUserKey(optionsPath_);
    ASSERT_TRUE(key);
    DWORD valueCount = 99;
    ASSERT_EQ(::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                                 nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(valueCount, 0u);
}

TEST_F(SandboxedRegistry, SaveThenLoadReproducesEveryFieldWithTheRegistryTypes) {
    const OVL_OptionsRecord saved = EveryFieldChanged();
    orvalet::SaveOptions(saved, platform_.Registry());
    EXPECT_EQ(Load(), saved);

    const UniqueKey key = OpenCurrentUserKey(optionsPath_);
    ASSERT_TRUE(key);
    const auto values = ReadAllValues(key.get());
    EXPECT_EQ(values.size(), 56u);
    for (const std::wstring& name : StoredValueNames()) {
        const auto it = values.find(name);
        ASSERT_NE(it, values.end()) << "missing value";
        EXPECT_EQ(it->second.type, IsStringValue(name) ? DWORD{REG_SZ} : DWORD{REG_DWORD});
    }
    EXPECT_EQ(ReadStringValue(optionsPath_, L"UDLabelFontName"), L"Courier New");
    EXPECT_EQ(ReadStringValue(optionsPath_, L"MonitoredInterface"), L"{01234567-89AB-CDEF-0123-456789ABCDEF}");
}

TEST_F(SandboxedRegistry, ForeignTypesAndABadGuidFallBackFieldByField) {
    orvalet::SaveOptions(EveryFieldChanged(), platform_.Registry());
    {
        const UniqueKey key = OpenCurrentUserKey(optionsPath_, KEY_SET_VALUE);
        ASSERT_TRUE(key);
        const auto text = [](const wchar_t* s) {
            const auto* bytes = reinterpret_cast<const BYTE*>(s);
            return std::vector<BYTE>(bytes, bytes + (wcslen(s) + 1) * sizeof(wchar_t));
        };
        SetRaw(key.get(), L"WindowHeight", REG_SZ, text(L"100"));
        SetRaw(key.get(), L"AlwaysOnTop", REG_BINARY, {1, 0, 0, 0});
        SetRaw(key.get(), L"VertGrid", REG_QWORD, {30, 0, 0, 0, 0, 0, 0, 0});
        SetRaw(key.get(), L"TransparencyValue", REG_DWORD, {12, 0});
        SetRaw(key.get(), L"IFLabelFontName", REG_DWORD, {1, 0, 0, 0});
        SetRaw(key.get(), L"MVLabelFontName", REG_EXPAND_SZ, text(L"%WINDIR%"));
        SetRaw(key.get(), L"MonitoredInterface", REG_SZ, text(L"{not-a-guid}"));
    }

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

TEST_F(SandboxedRegistry, AutostartEntryIsTheQuotedExecutablePath) {
    ASSERT_TRUE(CreateCurrentUserKey(runPath_));
    EXPECT_FALSE(orvalet::QueryAutostart(platform_.Registry()));

    orvalet::UpdateAutostart(true, platform_);
    EXPECT_TRUE(orvalet::QueryAutostart(platform_.Registry()));
    EXPECT_EQ(ReadStringValue(runPath_, L"Orvalet"), L"\"" + ModulePath() + L"\"");

    orvalet::UpdateAutostart(false, platform_);
    EXPECT_FALSE(orvalet::QueryAutostart(platform_.Registry()));
    EXPECT_FALSE(ReadStringValue(runPath_, L"Orvalet"));
}

TEST_F(SandboxedRegistry, AnUnchangedAutostartStateTouchesNothing) {
    const UniqueKey run = CreateCurrentUserKey(runPath_);
    ASSERT_TRUE(run);
    const wchar_t oldCommand[] = L"C:\\Old\\Orvalet.exe";
    SetRaw(run.get(), L"Orvalet", REG_SZ,
           std::vector<BYTE>(reinterpret_cast<const BYTE*>(oldCommand),
                             reinterpret_cast<const BYTE*>(oldCommand) + sizeof(oldCommand)));

    orvalet::UpdateAutostart(true, platform_);
    EXPECT_EQ(ReadStringValue(runPath_, L"Orvalet"), oldCommand);

    orvalet::DeleteAutostart(platform_.Registry());
    orvalet::UpdateAutostart(false, platform_);
    EXPECT_TRUE(ReadAllValues(run.get()).empty());
}

TEST_F(SandboxedRegistry, WithoutARunKeyWritingFailsQuietlyAndCreatesNothing) {
    EXPECT_FALSE(orvalet::WriteAutostart(platform_));
    orvalet::DeleteAutostart(platform_.Registry());
    EXPECT_FALSE(orvalet::QueryAutostart(platform_.Registry()));
    EXPECT_FALSE(OpenCurrentUserKey(runPath_));
}

// Restores a flat key (values only) to what it held when the guard was made.
class FlatKeyBackup {
public:
    explicit FlatKeyBackup(std::wstring path) : path_(std::move(path)) {
        if (const UniqueKey key = OpenCurrentUserKey(path_)) values_ = ReadAllValues(key.get());
    }
    ~FlatKeyBackup() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        if (!values_) return;
        const UniqueKey key = CreateCurrentUserKey(path_);
        for (const auto& [name, value] : *values_) {
            ::RegSetValueExW(key.get(), name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size()));
        }
    }
    FlatKeyBackup(const FlatKeyBackup&) = delete;
    FlatKeyBackup& operator=(const FlatKeyBackup&) = delete;

private:
    std::wstring path_;
    std::optional<std::map<std::wstring, RawValue>> values_;
};

// Restores one value of a key that is not to be removed.
class ValueBackup {
public:
    ValueBackup(std::wstring path, std::wstring name) : path_(std::move(path)), name_(std::move(name)) {
        if (const UniqueKey key = OpenCurrentUserKey(path_)) {
            const auto values = ReadAllValues(key.get());
            if (const auto it = values.find(name_); it != values.end()) value_ = it->second;
        }
    }
    ~ValueBackup() {
        const UniqueKey key = OpenCurrentUserKey(path_, KEY_SET_VALUE);
        if (!key) return;
        if (value_) {
            ::RegSetValueExW(key.get(), name_.c_str(), 0, value_->type, value_->data.data(),
                             static_cast<DWORD>(value_->data.size()));
        } else {
            ::RegDeleteValueW(key.get(), name_.c_str());
        }
    }
    ValueBackup(const ValueBackup&) = delete;
    ValueBackup& operator=(const ValueBackup&) = delete;

private:
    std::wstring path_;
    std::wstring name_;
    std::optional<RawValue> value_;
};

TEST(UserSettings, LiveUnderSoftwareOrvaletOfTheCurrentUser) {
    const FlatKeyBackup backup(kOptionsPath);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kOptionsPath);

    const OVL_OptionsRecord saved = CurrentOptions;
    LoadOptions();
    EXPECT_TRUE(OpenCurrentUserKey(kOptionsPath)) << "the load leaves the key behind";
    EXPECT_EQ(CurrentOptions.WindowWidth, 320);

    CurrentOptions = EveryFieldChanged();
    SaveOptions();
    CurrentOptions = OVL_OptionsRecord{};
    LoadOptions();
    EXPECT_EQ(CurrentOptions, EveryFieldChanged());

    const UniqueKey key = OpenCurrentUserKey(kOptionsPath);
    EXPECT_EQ(ReadAllValues(key.get()).size(), 56u);
    CurrentOptions = saved;
}

TEST(UserSettings, AutostartUsesTheUsersRunKey) {
    ASSERT_TRUE(OpenCurrentUserKey(kRunPath)) << "the Run key belongs to every user profile";
    const ValueBackup backup(kRunPath, L"Orvalet");

    DeleteAutostart();
    EXPECT_FALSE(QueryAutostart());
    EXPECT_TRUE(WriteAutostart());
    EXPECT_TRUE(QueryAutostart());
    EXPECT_EQ(ReadStringValue(kRunPath, L"Orvalet"), L"\"" + ModulePath() + L"\"");
    DeleteAutostart();
    EXPECT_FALSE(QueryAutostart());
}

TEST(SystemServices, ReportTheRunningSystemAndProgram) {
    SystemSettingsPlatform platform;
    const auto version = platform.QueryOSVersion();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->platformId, 2u);
    EXPECT_TRUE(CheckOSVersion(6));
    EXPECT_FALSE(CheckOSVersion(version->majorVersion + 1));

    EXPECT_EQ(platform.ExecutablePath(), ModulePath());
    EXPECT_TRUE(platform.ExecutablePath().ends_with(L"settings_win_tests.exe"));

    const WorkAreaSize area = platform.PrimaryWorkAreaSize();
    EXPECT_GT(area.width, 0);
    EXPECT_GT(area.height, 0);
    EXPECT_EQ(DefaultOptions(area).WindowLeft, area.width - 352);
}

}  // namespace
}  // namespace orvalet::win32
