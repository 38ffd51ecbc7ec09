#include "settings/options.h"

#include <algorithm>
#include <array>
#include <limits>

#include "rendering/units.h"

namespace orvalet {

OVL_OptionsRecord CurrentOptions;
OVL_OptionsRecord PendingOptions;

namespace {

constexpr std::int32_t kDefaultWindowMargin = 32;
constexpr std::uint32_t kNtPlatform = 2;

// Each colour's value name with the field it stores, in stored order.
struct ColorValue {
    std::wstring_view name;
    std::int32_t GR_ColorType::*field;
};
constexpr std::array<ColorValue, kColorCount> kColorValues{{
    {L"Color_GR_Download", &GR_ColorType::GR_Download},
    {L"Color_GR_Upload", &GR_ColorType::GR_Upload},
    {L"Color_GR_UpDn", &GR_ColorType::GR_UpDn},
    {L"Color_GR_BkGr1", &GR_ColorType::GR_BkGr1},
    {L"Color_GR_BkGr2", &GR_ColorType::GR_BkGr2},
    {L"Color_GR_Grid", &GR_ColorType::GR_Grid},
    {L"Color_PN_DL", &GR_ColorType::PN_DL},
    {L"Color_PN_DL_Outline", &GR_ColorType::PN_DL_Outline},
    {L"Color_PN_UL", &GR_ColorType::PN_UL},
    {L"Color_PN_UL_Outline", &GR_ColorType::PN_UL_Outline},
    {L"Color_PN_BkGr", &GR_ColorType::PN_BkGr},
    {L"Color_MV_Font", &GR_ColorType::MV_Font},
    {L"Color_MV_Outline", &GR_ColorType::MV_Outline},
    {L"Color_MV_BkGr", &GR_ColorType::MV_BkGr},
    {L"Color_IF_Font", &GR_ColorType::IF_Font},
    {L"Color_IF_Outline", &GR_ColorType::IF_Outline},
}};

constexpr std::array<std::wstring_view, kLabelCount> kFontValuePrefixes{L"UD", L"MV", L"IF"};

// The window is placed this far in from the work area's right or bottom edge.
// Computed wide and clamped, since the stored size can be any 32-bit number.
std::int32_t InsetFromFarEdge(std::int32_t workAreaExtent, std::int32_t windowExtent) {
    const std::int64_t position =
        std::int64_t{workAreaExtent} - std::int64_t{windowExtent} - kDefaultWindowMargin;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        position, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Walks the stored fields that follow the window rectangle and the monitored
// interface, in their stored order, handing the visitor each value name with
// the field and its default. Record is OVL_OptionsRecord for loading into and
// const OVL_OptionsRecord for saving from.
template <typename Record, typename Visitor>
void ForEachStoredSetting(Record& options, const OVL_OptionsRecord& defaults, Visitor&& visit) {
    visit(L"StartMinimized", options.StartMinimized, defaults.StartMinimized);
    visit(L"DisplayAverageValues", options.DisplayAverageValues, defaults.DisplayAverageValues);
    visit(L"ListEnabledHardwareInterfacesOnly", options.ListEnabledHardwareInterfacesOnly,
          defaults.ListEnabledHardwareInterfacesOnly);
    visit(L"NotifyMonitoringProblems", options.NotifyMonitoringProblems, defaults.NotifyMonitoringProblems);
    visit(L"AlwaysOnTop", options.AlwaysOnTop, defaults.AlwaysOnTop);
    visit(L"CloseToTray", options.CloseToTray, defaults.CloseToTray);
    visit(L"WindowStyle", options.WindowStyle, defaults.WindowStyle);
    visit(L"TransparencyEnabled", options.TransparencyEnabled, defaults.TransparencyEnabled);
    visit(L"TransparencyValue", options.TransparencyValue, defaults.TransparencyValue);
    visit(L"ClickThrough", options.ClickThrough, defaults.ClickThrough);
    visit(L"FadingEnabled", options.FadingEnabled, defaults.FadingEnabled);
    visit(L"MouseFadingEnabled", options.MouseFadingEnabled, defaults.MouseFadingEnabled);
    visit(L"MouseFadingIn", options.MouseFadingIn, defaults.MouseFadingIn);
    visit(L"Autoscale", options.Autoscale, defaults.Autoscale);
    visit(L"ShowUDValues", options.ShowUDValues, defaults.ShowUDValues);
    visit(L"UDDisplayUnit", options.UDDisplayUnit, defaults.UDDisplayUnit);
    visit(L"ShowMaxValue", options.ShowMaxValue, defaults.ShowMaxValue);
    visit(L"MVDisplayUnit", options.MVDisplayUnit, defaults.MVDisplayUnit);
    visit(L"ShowIFName", options.ShowIFName, defaults.ShowIFName);
    visit(L"Gradient", options.Gradient, defaults.Gradient);
    visit(L"ShowHorGrid", options.ShowHorGrid, defaults.ShowHorGrid);
    visit(L"VertGrid", options.VertGrid, defaults.VertGrid);

    for (int label = 1; label <= kLabelCount; ++label) {
        const std::wstring prefix(kFontValuePrefixes[static_cast<std::size_t>(label - 1)]);
        auto& font = options.Fonts[label];
        const GR_FontType& fontDefault = defaults.Fonts[label];
        visit(prefix + L"LabelFontName", font.Name, fontDefault.Name);
        visit(prefix + L"LabelFontSize", font.Size, fontDefault.Size);
        visit(prefix + L"LabelFontBold", font.Bold, fontDefault.Bold);
        visit(prefix + L"LabelFontItalic", font.Italic, fontDefault.Italic);
    }

    visit(L"FontAutosize", options.FontAutosize, defaults.FontAutosize);

    for (const ColorValue& color : kColorValues)
        visit(color.name, options.Colors.*color.field, defaults.Colors.*color.field);
}

struct ReadSetting {
    RegistryStore& registry;

    void operator()(std::wstring_view name, bool& field, bool fallback) const {
        field = RegReadBool(registry, kOptionsKey, name, fallback);
    }
    void operator()(std::wstring_view name, std::int32_t& field, std::int32_t fallback) const {
        field = RegReadInteger(registry, kOptionsKey, name, fallback);
    }
    void operator()(std::wstring_view name, std::wstring& field, const std::wstring& fallback) const {
        field = RegReadString(registry, kOptionsKey, name, fallback);
    }
};

struct WriteSetting {
    RegistryStore& registry;

    void operator()(std::wstring_view name, bool value, bool) const {
        RegWriteBool(registry, kOptionsKey, name, value);
    }
    void operator()(std::wstring_view name, std::int32_t value, std::int32_t) const {
        RegWriteInteger(registry, kOptionsKey, name, value);
    }
    void operator()(std::wstring_view name, const std::wstring& value, const std::wstring&) const {
        RegWriteString(registry, kOptionsKey, name, value);
    }
};

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

// Checked once here, so that no user of the record meets a choice the
// program does not offer.
void KeepUsableValues(OVL_OptionsRecord& options, const OVL_OptionsRecord& defaults) {
    const auto keepIf = [](bool usable, auto& field, const auto& fallback) {
        if (!usable) field = fallback;
    };
    keepIf(InRange(options.WindowStyle, kWithCaption, kBorderless), options.WindowStyle, defaults.WindowStyle);
    keepIf(InRange(options.UDDisplayUnit, 0, kDisplayUnitCount - 1), options.UDDisplayUnit, defaults.UDDisplayUnit);
    keepIf(InRange(options.MVDisplayUnit, 0, kDisplayUnitCount - 1), options.MVDisplayUnit, defaults.MVDisplayUnit);
    // Any spacing the graph can draw is kept, also one the dialog does not
    // offer (it then shows no selection); a negative one is none at all.
    keepIf(options.VertGrid >= 0, options.VertGrid, defaults.VertGrid);
    for (int label = 1; label <= kLabelCount; ++label) {
        GR_FontType& font = options.Fonts[label];
        keepIf(InRange(font.Size, kMinFontPoints, kMaxFontPoints), font.Size, defaults.Fonts[label].Size);
        keepIf(font.Name.size() <= kMaxFontNameLength, font.Name, defaults.Fonts[label].Name);
    }
    options.TransparencyValue = ClampTransparencyValue(options.TransparencyValue);
}

std::wstring QuotedPath(const std::wstring& path) { return L'"' + path + L'"'; }

}  // namespace

OVL_OptionsRecord DefaultOptions(WorkAreaSize workArea) {
    OVL_OptionsRecord options;
    options.WindowLeft = InsetFromFarEdge(workArea.width, options.WindowWidth);
    options.WindowTop = InsetFromFarEdge(workArea.height, options.WindowHeight);
    return options;
}

void LoadOptions(OVL_OptionsRecord& options, SettingsPlatform& platform) {
    RegistryStore& registry = platform.Registry();
    const OVL_OptionsRecord defaults;

    // The size comes first: the default position is derived from it.
    options.WindowWidth = RegReadInteger(registry, kOptionsKey, L"WindowWidth", defaults.WindowWidth);
    options.WindowHeight = RegReadInteger(registry, kOptionsKey, L"WindowHeight", defaults.WindowHeight);
    const WorkAreaSize workArea = platform.PrimaryWorkAreaSize();
    options.WindowLeft = RegReadInteger(registry, kOptionsKey, L"WindowLeft",
                                        InsetFromFarEdge(workArea.width, options.WindowWidth));
    options.WindowTop = RegReadInteger(registry, kOptionsKey, L"WindowTop",
                                       InsetFromFarEdge(workArea.height, options.WindowHeight));

    const std::wstring interfaceText = RegReadString(registry, kOptionsKey, L"MonitoredInterface",
                                                     defaults.MonitoredInterface.ToString());
    options.MonitoredInterface = ParseGuid(interfaceText).value_or(defaults.MonitoredInterface);

    ForEachStoredSetting(options, defaults, ReadSetting{registry});
    KeepUsableValues(options, defaults);
}

std::int32_t ClampTransparencyValue(std::int32_t value) noexcept { return std::clamp(value, 0, 255); }

void SaveOptions(const OVL_OptionsRecord& options, RegistryStore& registry) {
    RegWriteInteger(registry, kOptionsKey, L"WindowLeft", options.WindowLeft);
    RegWriteInteger(registry, kOptionsKey, L"WindowTop", options.WindowTop);
    RegWriteInteger(registry, kOptionsKey, L"WindowWidth", options.WindowWidth);
    RegWriteInteger(registry, kOptionsKey, L"WindowHeight", options.WindowHeight);
    RegWriteString(registry, kOptionsKey, L"MonitoredInterface", options.MonitoredInterface.ToString());

    ForEachStoredSetting(options, options, WriteSetting{registry});
}

bool QueryAutostart(RegistryStore& registry) {
    const auto runKey = registry.OpenKey(kAutostartKey, KeyAccess::Read);
    return runKey && runKey->HasValue(kApplicationTitle);
}

bool WriteAutostart(SettingsPlatform& platform) {
    const std::wstring path = platform.ExecutablePath();
    if (path.empty()) return false;
    const auto runKey = platform.Registry().OpenKey(kAutostartKey, KeyAccess::ReadWrite);
    // Quoted, so that a path with spaces ("C:\Program Files\...") cannot be
    // read by the logon launcher as a shorter program path plus arguments.
    return runKey && runKey->WriteValue(kApplicationTitle, MakeStringValue(QuotedPath(path)));
}

void DeleteAutostart(RegistryStore& registry) {
    const auto runKey = registry.OpenKey(kAutostartKey, KeyAccess::ReadWrite);
    if (runKey && runKey->HasValue(kApplicationTitle)) runKey->DeleteValue(kApplicationTitle);
}

void UpdateAutostart(bool runOnStartup, SettingsPlatform& platform) {
    RegistryStore& registry = platform.Registry();
    const bool present = QueryAutostart(registry);
    if (runOnStartup == present) return;
    if (runOnStartup) {
        WriteAutostart(platform);
    } else {
        DeleteAutostart(registry);
    }
}

bool CheckOSVersion(std::uint32_t minimumMajorVersion, SettingsPlatform& platform) {
    const std::optional<OSVersionInfo> version = platform.QueryOSVersion();
    return version && version->platformId == kNtPlatform && version->majorVersion >= minimumMajorVersion;
}

// --- Registry accessors -----------------------------------------------------

void RegWriteBool(RegistryStore& registry, std::wstring_view key, std::wstring_view name, bool value) {
    RegWriteInteger(registry, key, name, value ? 1 : 0);
}

bool RegReadBool(RegistryStore& registry, std::wstring_view key, std::wstring_view name, bool defaultValue) {
    // Unlike the other readers, this one never creates the key.
    const auto handle = registry.OpenKey(key, KeyAccess::Read);
    if (!handle) return defaultValue;
    const auto value = handle->ReadValue(name);
    const auto number = value ? DecodeDword(*value) : std::nullopt;
    return number ? *number != 0 : defaultValue;
}

void RegWriteInteger(RegistryStore& registry, std::wstring_view key, std::wstring_view name, std::int32_t value) {
    if (const auto handle = registry.OpenKey(key, KeyAccess::Create)) {
        handle->WriteValue(name, MakeDwordValue(static_cast<std::uint32_t>(value)));
    }
}

std::int32_t RegReadInteger(RegistryStore& registry, std::wstring_view key, std::wstring_view name,
                            std::int32_t defaultValue) {
    const auto handle = registry.OpenKey(key, KeyAccess::Create);
    if (!handle) return defaultValue;
    const auto value = handle->ReadValue(name);
    const auto number = value ? DecodeDword(*value) : std::nullopt;
    return number ? static_cast<std::int32_t>(*number) : defaultValue;
}

void RegWriteString(RegistryStore& registry, std::wstring_view key, std::wstring_view name,
                    std::wstring_view value) {
    if (const auto handle = registry.OpenKey(key, KeyAccess::Create)) {
        handle->WriteValue(name, MakeStringValue(value));
    }
}

std::wstring RegReadString(RegistryStore& registry, std::wstring_view key, std::wstring_view name,
                           std::wstring_view defaultValue) {
    std::wstring result(defaultValue);
    if (const auto handle = registry.OpenKey(key, KeyAccess::Create)) {
        const auto value = handle->ReadValue(name);
        if (auto text = value ? DecodeString(*value) : std::nullopt) result = std::move(*text);
    }
    return result;
}

}  // namespace orvalet
