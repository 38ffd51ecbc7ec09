#include "settings/registry_store.h"

namespace orvalet {

namespace {

// Registry strings are UTF-16 on every platform; wchar_t is UTF-16 on
// Windows and UTF-32 elsewhere, so code points above the BMP become
// surrogate pairs on the way in and are joined again on the way out.
void AppendUtf16(std::vector<std::uint16_t>& units, wchar_t ch) {
    const auto code = static_cast<std::uint32_t>(ch);
    if constexpr (sizeof(wchar_t) > 2) {
        if (code > 0xFFFF && code <= 0x10FFFF) {
            const std::uint32_t offset = code - 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 + (offset >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)));
            return;
        }
    }
    units.push_back(static_cast<std::uint16_t>(code));
}

std::wstring FromUtf16(const std::vector<std::uint16_t>& units) {
    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t unit = units[i];
        if constexpr (sizeof(wchar_t) > 2) {
            const bool high = unit >= 0xD800 && unit <= 0xDBFF;
            if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
                const std::uint32_t low = units[++i];
                text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                continue;
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

}  // namespace

RegistryValue MakeDwordValue(std::uint32_t value) {
    return {RegistryValueKind::Dword,
            {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

RegistryValue MakeStringValue(std::wstring_view text) {
    std::vector<std::uint16_t> units;
    units.reserve(text.size() + 1);
    for (wchar_t ch : text) AppendUtf16(units, ch);
    units.push_back(0);

    RegistryValue value{RegistryValueKind::String, {}};
    value.data.reserve(units.size() * 2);
    for (std::uint16_t unit : units) {
        value.data.push_back(static_cast<std::uint8_t>(unit));
        value.data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return value;
}

std::optional<std::uint32_t> DecodeDword(const RegistryValue& value) {
    if (value.kind != RegistryValueKind::Dword || value.data.size() != 4) return std::nullopt;
    const auto& d = value.data;
    return static_cast<std::uint32_t>(d[0]) | static_cast<std::uint32_t>(d[1]) << 8 |
           static_cast<std::uint32_t>(d[2]) << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

std::optional<std::wstring> DecodeString(const RegistryValue& value) {
    if (value.kind != RegistryValueKind::String || value.data.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint16_t> units;
    units.reserve(value.data.size() / 2);
    for (std::size_t i = 0; i < value.data.size(); i += 2) {
        const auto unit = static_cast<std::uint16_t>(value.data[i] | value.data[i + 1] << 8);
        if (unit == 0) break;
        units.push_back(unit);
    }
    return FromUtf16(units);
}

}  // namespace orvalet
