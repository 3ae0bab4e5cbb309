// The three on/off settings as the settings file stores them: section "设置", one key per
// setting, "真" for on and "假" for off (GBK, like every text of the file).
#pragma once

#include <string_view>

#include "common/text.h"

namespace jc {

inline constexpr std::string_view kSettingsSection = "\xC9\xE8\xD6\xC3";  // "设置"
inline constexpr std::string_view kOnText = "\xD5\xE6";                   // "真"
inline constexpr std::string_view kOffText = "\xBC\xD9";                  // "假"

// The stored text of a setting.
Text SettingText(bool on);

// True exactly when `stored` is "真", byte for byte: "1", "true", "" and anything else are off.
bool SettingIsOn(std::string_view stored);

}  // namespace jc
