#include "settings/win32/settings_platform_win.h"

#include <windows.h>

#include <utility>

namespace orvalet::win32 {

SystemSettingsPlatform::SystemSettingsPlatform(std::wstring registryRoot) : registry_(std::move(registryRoot)) {}

WorkAreaSize SystemSettingsPlatform::PrimaryWorkAreaSize() {
    RECT area{};
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        return {area.right - area.left, area.bottom - area.top};
    }
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

std::wstring SystemSettingsPlatform::ExecutablePath() {
    // GetModuleFileNameW truncates silently; grow until the path fits.
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= 32768) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

std::optional<OSVersionInfo> SystemSettingsPlatform::QueryOSVersion() {
    OSVERSIONINFOW info{};
    static_assert(sizeof(info) == 276);
    info.dwOSVersionInfoSize = sizeof(info);
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // deprecated, but it is the report the check is defined on
#endif
    if (!::GetVersionExW(&info)) return std::nullopt;
    return OSVersionInfo{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

SystemSettingsPlatform& SystemSettings() {
    static SystemSettingsPlatform platform;
    return platform;
}

}  // namespace orvalet::win32
