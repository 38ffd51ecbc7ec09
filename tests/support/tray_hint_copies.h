#pragma once
// The tray hint as a new string, for comparing it whole.
#include <string>
#include <string_view>

#include "shell/tray/tray_hint.h"

namespace orvalet {

inline std::wstring BuildTrayHint(std::wstring_view downloadLabel, std::wstring_view uploadLabel,
                                  std::wstring_view interfaceLabel) {
    std::wstring hint;
    BuildTrayHint(hint, downloadLabel, uploadLabel, interfaceLabel);
    return hint;
}

inline std::wstring CutToTrayHintLength(std::wstring_view text) { return std::wstring(TrayHintPart(text)); }

}  // namespace orvalet
