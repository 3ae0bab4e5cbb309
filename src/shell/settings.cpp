#include "shell/settings.h"

namespace jc {

Text SettingText(bool on) { return Text(on ? kOnText : kOffText); }

bool SettingIsOn(std::string_view stored) { return stored == kOnText; }

}  // namespace jc
