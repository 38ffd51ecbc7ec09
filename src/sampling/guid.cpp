#include "sampling/guid.h"

namespace orvalet {
namespace {

constexpr wchar_t HexDigits[] = L"0123456789ABCDEF";

// Positions of the dashes in the text form; every other character between the
// braces is a hex digit.
constexpr std::size_t DashPositions[] = {9, 14, 19, 24};

bool IsDashPosition(std::size_t i) {
    for (std::size_t dash : DashPositions)
        if (i == dash) return true;
    return false;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// The 16 bytes in text order: Data1..Data3 most significant byte first, then Data4.
std::array<std::uint8_t, 16> TextOrderBytes(const Guid& guid) {
    std::array<std::uint8_t, 16> bytes{};
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(guid.Data1 >> (24 - 8 * i));
    for (int i = 0; i < 2; ++i) bytes[4 + i] = static_cast<std::uint8_t>(guid.Data2 >> (8 - 8 * i));
    for (int i = 0; i < 2; ++i) bytes[6 + i] = static_cast<std::uint8_t>(guid.Data3 >> (8 - 8 * i));
    for (int i = 0; i < 8; ++i) bytes[8 + i] = guid.Data4[i];
    return bytes;
}

Guid FromTextOrderBytes(const std::array<std::uint8_t, 16>& bytes) {
    Guid guid;
    for (int i = 0; i < 4; ++i) guid.Data1 = (guid.Data1 << 8) | bytes[i];
    guid.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    guid.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
    return guid;
}

}  // namespace

std::wstring Guid::ToString() const {
    std::wstring text;
    text.reserve(kGuidTextLength);
    text += L'{';
    for (std::uint8_t byte : TextOrderBytes(*this)) {
        if (IsDashPosition(text.size())) text += L'-';
        text += HexDigits[byte >> 4];
        text += HexDigits[byte & 0x0F];
    }
    text += L'}';
    return text;
}

std::optional<Guid> ParseGuid(std::wstring_view text) {
    if (text.size() != kGuidTextLength || text.front() != L'{' || text.back() != L'}') return std::nullopt;

    std::array<std::uint8_t, 16> bytes{};
    std::size_t digitCount = 0;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (IsDashPosition(i)) {
            if (text[i] != L'-') return std::nullopt;
            continue;
        }
        const int value = HexValue(text[i]);
        if (value < 0) return std::nullopt;
        bytes[digitCount / 2] = static_cast<std::uint8_t>((bytes[digitCount / 2] << 4) | value);
        ++digitCount;
    }
    return FromTextOrderBytes(bytes);
}

}  // namespace orvalet
