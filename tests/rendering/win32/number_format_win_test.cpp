#include "rendering/win32/number_format_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace orvalet::win32 {
namespace {

std::wstring LocaleText(LCTYPE item) {
    wchar_t buffer[16]{};
    const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 16);
    return length > 0 ? std::wstring(buffer, static_cast<std::size_t>(length - 1)) : std::wstring();
}

TEST(UserNumberFormat, ComesFromTheUsersRegionalSettings) {
    const NumberFormat format = ReadUserNumberFormat();
    EXPECT_EQ(format.decimalSeparator, LocaleText(LOCALE_SDECIMAL));
    EXPECT_EQ(format.thousandsSeparator, LocaleText(LOCALE_STHOUSAND));
    EXPECT_FALSE(format.decimalSeparator.empty());

    const NumberFormat previous = UserNumberFormat();
    InstallUserNumberFormat();
    EXPECT_EQ(FormatTrafficValue(999999, 2),
              L"1" + format.thousandsSeparator + L"000" + format.decimalSeparator + L"0 kB");
    SetUserNumberFormat(previous);
}

}  // namespace
}  // namespace orvalet::win32
