#pragma once
// Every user setting in one record, its two global instances, and their
// persistence: one registry value per field under the current user's
// "Software\Orvalet" key, the autostart entry under the Run key, and the
// operating-system check made at start-up.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "rendering/graph_types.h"
#include "sampling/guid.h"
#include "settings/settings_platform.h"

namespace orvalet {

inline constexpr std::wstring_view kOptionsKey = L"Software\\Orvalet";
inline constexpr std::wstring_view kAutostartKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The application title; it also names the autostart value.
inline constexpr std::wstring_view kApplicationTitle = L"Orvalet";

enum WindowStyleIndex : std::int32_t { kWithCaption = 0, kWithoutCaption = 1, kBorderless = 2 };

// The member initialisers are the factory defaults, except for the window's
// position, which depends on the screen (see DefaultOptions).
struct OVL_OptionsRecord {
    std::int32_t WindowLeft = 0;
    std::int32_t WindowTop = 0;
    std::int32_t WindowWidth = 320;
    std::int32_t WindowHeight = 240;
    Guid MonitoredInterface = AllHardwareInterfacesGUID;
    bool RunOnStartup = false;  // presence of the autostart entry; not stored with the rest
    bool StartMinimized = false;
    bool DisplayAverageValues = false;
    bool ListEnabledHardwareInterfacesOnly = true;
    bool NotifyMonitoringProblems = true;
    bool AlwaysOnTop = true;
    bool CloseToTray = true;
    std::int32_t WindowStyle = kWithoutCaption;
    bool TransparencyEnabled = true;
    std::int32_t TransparencyValue = 205;  // 0 invisible .. 255 opaque
    bool ClickThrough = false;
    bool FadingEnabled = true;
    bool MouseFadingEnabled = true;
    bool MouseFadingIn = true;
    bool Autoscale = true;
    bool ShowUDValues = true;
    std::int32_t UDDisplayUnit = 3;  // kibibytes
    bool ShowMaxValue = true;
    std::int32_t MVDisplayUnit = 0;  // kilobits
    bool ShowIFName = true;
    bool Gradient = true;
    bool ShowHorGrid = true;
    std::int32_t VertGrid = 60;  // values between vertical grid lines; 0 none
    GR_Fonts Fonts = GR_DefaultFonts;
    bool FontAutosize = true;
    GR_ColorType Colors = GR_DefaultColors;

    friend bool operator==(const OVL_OptionsRecord&, const OVL_OptionsRecord&) = default;
};

// The settings in force, and the working copy the options dialog edits.
extern OVL_OptionsRecord CurrentOptions;
extern OVL_OptionsRecord PendingOptions;

// The defaults, with the window 32 pixels in from the right and bottom edges
// of a work area of the given size.
OVL_OptionsRecord DefaultOptions(WorkAreaSize workArea);

// The opacity is an 8-bit value: a stored value outside 0..255 is brought
// to the nearer end of that range.
std::int32_t ClampTransparencyValue(std::int32_t value) noexcept;

// Fills every field but RunOnStartup from the registry. A value that is
// missing, unreadable or outside what the program offers (a window style,
// display unit it does not know, a negative grid spacing, a font size outside
// kMinFontPoints..kMaxFontPoints, a face name longer than kMaxFontNameLength)
// keeps that field's default; TransparencyValue is clamped to 0..255. Never
// throws for bad data.
void LoadOptions(OVL_OptionsRecord& options, SettingsPlatform& platform);
// Writes every field but RunOnStartup, value by value.
void SaveOptions(const OVL_OptionsRecord& options, RegistryStore& registry);

// Whether an autostart entry exists, whatever path it holds.
bool QueryAutostart(RegistryStore& registry);
// Creates or overwrites the autostart entry with the executable's quoted
// path. False when the Run key cannot be opened or written, or the path is
// unknown (an empty entry would start nothing).
bool WriteAutostart(SettingsPlatform& platform);
// Removes the autostart entry if there is one.
void DeleteAutostart(RegistryStore& registry);
// Makes the autostart entry's presence follow runOnStartup, touching the
// registry only when the two differ.
void UpdateAutostart(bool runOnStartup, SettingsPlatform& platform);

// True for an NT-family system of at least the given major version.
bool CheckOSVersion(std::uint32_t minimumMajorVersion, SettingsPlatform& platform);

// One registry value each; every call opens its own handle on the key and
// closes it again. Reading an integer or a string creates the key.
void RegWriteBool(RegistryStore& registry, std::wstring_view key, std::wstring_view name, bool value);
bool RegReadBool(RegistryStore& registry, std::wstring_view key, std::wstring_view name, bool defaultValue);
void RegWriteInteger(RegistryStore& registry, std::wstring_view key, std::wstring_view name, std::int32_t value);
std::int32_t RegReadInteger(RegistryStore& registry, std::wstring_view key, std::wstring_view name,
                            std::int32_t defaultValue);
void RegWriteString(RegistryStore& registry, std::wstring_view key, std::wstring_view name,
                    std::wstring_view value);
std::wstring RegReadString(RegistryStore& registry, std::wstring_view key, std::wstring_view name,
                           std::wstring_view defaultValue);

}  // namespace orvalet
