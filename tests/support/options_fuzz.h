#pragma once
// Random states of the options key, and the check that loading one keeps
// every usable stored value and the default of every other field. Shared by
// the fuzzer on the in-memory registry and its slice on the real one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "settings/options.h"
#include "support/fake_settings_platform.h"
#include "support/fuzz.h"
#include "support/options_samples.h"

namespace orvalet {

// Failures show a value's type and its first bytes, not a megabyte of them.
inline void PrintTo(const RegistryValue& value, std::ostream* out) {
    *out << "type " << static_cast<std::uint32_t>(value.kind) << ", " << value.data.size() << " bytes:";
    for (std::size_t i = 0; i < std::min<std::size_t>(value.data.size(), 48); ++i) *out << ' ' << int{value.data[i]};
}

}  // namespace orvalet

namespace orvalet::testing {

// What the load may make of a well-formed value.
struct ValueRule {
    enum Reading { Flag, Number, Opacity, FaceName, Interface } reading = Flag;
    std::int32_t low = std::numeric_limits<std::int32_t>::min();
    std::int32_t high = std::numeric_limits<std::int32_t>::max();
};

inline ValueRule RuleFor(const std::wstring& name) {
    if (name == L"MonitoredInterface") return {ValueRule::Interface};
    if (name.ends_with(L"LabelFontName")) return {ValueRule::FaceName};
    if (name == L"TransparencyValue") return {ValueRule::Opacity, 0, 255};
    if (name == L"WindowStyle") return {ValueRule::Number, 0, 2};
    if (name.ends_with(L"DisplayUnit")) return {ValueRule::Number, 0, 3};
    if (name == L"VertGrid") return {ValueRule::Number, 0};
    if (name.ends_with(L"LabelFontSize")) return {ValueRule::Number, kMinFontPoints, kMaxFontPoints};
    if (name.starts_with(L"Window") || name.starts_with(L"Color_")) return {ValueRule::Number};
    return {ValueRule::Flag};
}

// The value as the load must save it back, or nothing when the field must
// keep its default.
inline std::optional<RegistryValue> UsableAs(const std::wstring& name, const RegistryValue& stored) {
    const ValueRule rule = RuleFor(name);
    if (rule.reading == ValueRule::FaceName || rule.reading == ValueRule::Interface) {
        const std::optional<std::wstring> text = DecodeString(stored);
        if (!text) return std::nullopt;
        if (rule.reading == ValueRule::FaceName)
            return text->size() <= kMaxFontNameLength ? std::optional(MakeStringValue(*text)) : std::nullopt;
        const std::optional<Guid> guid = ParseGuid(*text);
        return guid ? std::optional(MakeStringValue(guid->ToString())) : std::nullopt;
    }
    const std::optional<std::uint32_t> bits = DecodeDword(stored);
    if (!bits) return std::nullopt;
    const auto number = static_cast<std::int32_t>(*bits);
    if (rule.reading == ValueRule::Flag) return MakeDwordValue(number != 0);
    if (rule.reading == ValueRule::Opacity) return MakeDwordValue(std::clamp(number, rule.low, rule.high));
    if (number < rule.low || number > rule.high) return std::nullopt;
    return stored;
}

inline std::wstring RandomText(FuzzRandom& random, std::size_t length) {
    std::wstring text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<wchar_t>(random.OneIn(4) ? 0x80 + random.Below(0xD000) : 0x20 + random.Below(0x5F));
    return text;
}

inline RegistryValue WithKind(RegistryValue value, RegistryValueKind kind) {
    value.kind = kind;
    return value;
}

inline std::int32_t RandomNumber(FuzzRandom& random, const ValueRule& rule) {
    constexpr std::int32_t kExtremes[] = {0, 1, -1, 2, 3, 4, 10, 30, 60, 255, 256, 1000, 1001,
                                          std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max()};
    const std::int64_t low = rule.low, high = rule.high;
    switch (random.Below(4)) {
    case 0: return random.Pick(kExtremes);
    case 1: return static_cast<std::int32_t>(low + static_cast<std::int64_t>(random.Below(high - low + 1)));
    case 2: return static_cast<std::int32_t>(random.Next());
    default: return static_cast<std::int32_t>(random.OneIn(2) ? low - 1 : high + 1);  // just outside, wrapping
    }
}

// A value of the type the load expects, well formed or not.
inline RegistryValue RightlyTyped(FuzzRandom& random, const ValueRule& rule) {
    if (rule.reading != ValueRule::FaceName && rule.reading != ValueRule::Interface)
        return MakeDwordValue(static_cast<std::uint32_t>(RandomNumber(random, rule)));
    if (rule.reading == ValueRule::Interface && random.OneIn(2)) {
        std::wstring text = Guid{static_cast<std::uint32_t>(random.Next()), 0x35B0, 0x436D,
                                 {0xA6, 0xE9, 0x37, 0x7B, 0x4C, 0x76, static_cast<std::uint8_t>(random.Next()), 0x42}}
                                .ToString();
        if (random.OneIn(2)) std::ranges::transform(text, text.begin(), [](wchar_t c) { return std::towlower(c); });
        return MakeStringValue(text);
    }
    static const RegistryValue kMegabyte = MakeStringValue(std::wstring(512 * 1024 - 1, L'M'));
    RegistryValue value;
    switch (random.Below(64)) {  // 1 MB rarely: it is slow to copy in a sanitized build
    case 0: value = kMegabyte; break;
    case 1: case 2: case 3: case 4: return MakeStringValue(L"");
    case 5: case 6: case 7: case 8: value = MakeStringValue(RandomText(random, 3) + L'\0' + RandomText(random, 40)); break;
    default: value = MakeStringValue(RandomText(random, random.Below(40))); break;
    }
    if (random.OneIn(4)) value.data.resize(value.data.size() - 2);  // no terminator
    return value;
}

inline RegistryValue WronglyTyped(FuzzRandom& random, const ValueRule& rule) {
    using Kind = RegistryValueKind;
    const bool text = rule.reading == ValueRule::FaceName || rule.reading == ValueRule::Interface;
    RegistryValue bytes{Kind::Binary, std::vector<std::uint8_t>(random.Below(9))};
    for (std::uint8_t& byte : bytes.data) byte = static_cast<std::uint8_t>(random.Next());
    switch (random.Below(7)) {
    case 0: return bytes;
    case 1: return {Kind::Qword, std::vector<std::uint8_t>(8, 1)};
    case 2: return WithKind(MakeStringValue(std::wstring(L"Tahoma\0Arial\0", 13)), Kind::MultiString);
    case 3: return WithKind(MakeStringValue(L"%SystemRoot%"), Kind::ExpandString);
    case 4: return text ? MakeDwordValue(static_cast<std::uint32_t>(random.Next()))
                        : RegistryValue{Kind::Dword, std::vector<std::uint8_t>(random.Below(4), 1)};  // truncated
    case 5: return WithKind(bytes, static_cast<Kind>(random.OneIn(2) ? 0 : random.Below(100000)));
    default: {
        RegistryValue odd = MakeStringValue(std::to_wstring(random.Below(300)));
        if (text) odd.data.pop_back();  // an odd number of bytes
        return odd;
    }
    }
}

// Each stored value's name with what was stored under it, nothing when absent.
using StoredState = std::vector<std::pair<std::wstring, std::optional<RegistryValue>>>;

// Writes a random state of the options key into an empty registry: each value
// missing, well typed or not, under its name in any case, among stray values.
inline StoredState WriteRandomState(FuzzRandom& random, RegistryStore& registry) {
    StoredState state;
    const auto key = registry.OpenKey(kOptionsKey, KeyAccess::Create);
    for (const std::wstring& name : StoredValueNames()) {
        const ValueRule rule = RuleFor(name);
        std::optional<RegistryValue> value;
        if (const std::uint64_t roll = random.Below(20); roll >= 5)
            value = roll < 13 ? RightlyTyped(random, rule) : WronglyTyped(random, rule);
        std::wstring spelling = name;
        if (random.OneIn(8)) std::ranges::transform(spelling, spelling.begin(), [](wchar_t c) { return std::towupper(c); });
        if (value) key->WriteValue(spelling, *value);
        state.emplace_back(name, std::move(value));
    }
    const wchar_t* const strays[] = {L"", L"Stray", L"WindowWidth2", L"Color_", L"UDLabelFontName ", L"Run"};
    for (std::uint64_t n = random.Below(4); n > 0; --n)
        key->WriteValue(random.Pick(strays), WronglyTyped(random, RuleFor(L"Stray")));
    return state;
}

// The defaults the load falls back on, with the position that follows the loaded size.
inline OVL_OptionsRecord DefaultsFor(const OVL_OptionsRecord& loaded, WorkAreaSize workArea) {
    const auto inset = [](std::int64_t extent, std::int64_t size) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(extent - size - 32, INT32_MIN, INT32_MAX));
    };
    OVL_OptionsRecord defaults;
    defaults.WindowLeft = inset(workArea.width, loaded.WindowWidth);
    defaults.WindowTop = inset(workArea.height, loaded.WindowHeight);
    return defaults;
}

// Loads the state from the platform's registry and checks every field (by
// saving the loaded record and comparing value by value), and that saving and
// loading again gives the same record.
inline void CheckLoad(SettingsPlatform& platform, const StoredState& state, bool runOnStartup) {
    OVL_OptionsRecord loaded = EveryFieldChanged();
    loaded.RunOnStartup = runOnStartup;
    LoadOptions(loaded, platform);
    EXPECT_EQ(loaded.RunOnStartup, runOnStartup);

    FakeSettingsPlatform saved, defaults;
    SaveOptions(loaded, saved.registry);
    SaveOptions(DefaultsFor(loaded, platform.PrimaryWorkAreaSize()), defaults.registry);
    for (const auto& [name, stored] : state) {
        const std::optional<RegistryValue> usable = stored ? UsableAs(name, *stored) : std::nullopt;
        EXPECT_EQ(saved.registry.Value(kOptionsKey, name), usable ? usable : defaults.registry.Value(kOptionsKey, name))
            << ::testing::PrintToString(name);
    }

    OVL_OptionsRecord reloaded = EveryFieldChanged();
    reloaded.RunOnStartup = runOnStartup;
    LoadOptions(reloaded, saved);
    EXPECT_EQ(reloaded, loaded);
}

}  // namespace orvalet::testing
