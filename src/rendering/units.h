#pragma once
// The four display units in which rates are written, each with its kilo,
// mega, giga and tera level.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvalet {

struct GR_UnitLevelType {
    std::wstring_view ShortName;    // symbol written after the number
    std::wstring_view Description;  // the level's size in the next smaller unit
    std::int32_t Decimals;          // digits after the decimal separator
    std::uint64_t Divisor;          // bits or bytes in one unit of this level
};

struct GR_DisplayUnitType {
    std::wstring_view Name;
    std::int32_t BitFactor;  // 8 for units that count bits, 1 for bytes
    std::array<GR_UnitLevelType, 4> Levels;  // kilo, mega, giga, tera
};

constexpr int kDisplayUnitCount = 4;

inline constexpr std::array<GR_DisplayUnitType, kDisplayUnitCount> GR_DisplayUnits{{
    {L"Kilobit", 8,
     {{{L"kb", L"= 1000 Bit", 1, 1000ULL},
       {L"Mb", L"= 1000 Kilobit", 2, 1000000ULL},
       {L"Gb", L"= 1000 Megabit", 3, 1000000000ULL},
       {L"Tb", L"= 1000 Gigabit", 4, 1000000000000ULL}}}},
    {L"Kibibit", 8,
     {{{L"Kibit", L"= 1024 Bit", 1, 1ULL << 10},
       {L"Mibit", L"= 1024 Kibibit", 2, 1ULL << 20},
       {L"Gibit", L"= 1024 Mebibit", 3, 1ULL << 30},
       {L"Tibit", L"= 1024 Gibibit", 4, 1ULL << 40}}}},
    {L"Kilobyte", 1,
     {{{L"kB", L"= 1000 Byte", 1, 1000ULL},
       {L"MB", L"= 1000 Kilobyte", 2, 1000000ULL},
       {L"GB", L"= 1000 Megabyte", 3, 1000000000ULL},
       {L"TB", L"= 1000 Gigabyte", 4, 1000000000000ULL}}}},
    {L"Kibibyte", 1,
     {{{L"KiB", L"= 1024 Byte", 1, 1ULL << 10},
       {L"MiB", L"= 1024 Kibibyte", 2, 1ULL << 20},
       {L"GiB", L"= 1024 Mebibyte", 3, 1ULL << 30},
       {L"TiB", L"= 1024 Gibibyte", 4, 1ULL << 40}}}},
}};

// The unit index behind each item of the options dialog's unit lists.
inline constexpr std::array<std::int32_t, kDisplayUnitCount> GR_DisplayUnitOrder{0, 1, 2, 3};

// A stored unit index is read back from the registry unchecked; anything
// outside 0..3 falls back to unit 0 so the table is never read out of bounds.
constexpr std::int32_t ValidDisplayUnit(std::int32_t unitIndex) {
    return unitIndex >= 0 && unitIndex < kDisplayUnitCount ? unitIndex : 0;
}

constexpr const GR_DisplayUnitType& DisplayUnit(std::int32_t unitIndex) {
    return GR_DisplayUnits[static_cast<std::size_t>(ValidDisplayUnit(unitIndex))];
}

// The caption of a unit in the options dialog, e.g. "Kilobit (1 kb = 1000 Bit)".
std::wstring UnitCaption(std::int32_t unitIndex);

}  // namespace orvalet
