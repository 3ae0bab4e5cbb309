// What start-with-Windows writes: the Run registry item and the command it holds.
#pragma once

#include <string_view>

#include "common/text.h"

namespace jc {

inline constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The program directory, "\" and the program's file name. A path holding a space is put in
// quotation marks: unquoted, Windows would try "C:\Program.exe" first at every log-on.
Text AutostartCommand(std::string_view programDirectory, std::string_view fileName);

// A registry item text "KEY\PATH\NAME" split at its last backslash into the key path and the
// value name; a backslash that is the second byte of a double-byte character does not split.
struct RegistryItem {
  Text keyPath;
  Text valueName;
};
RegistryItem SplitRegistryItem(std::string_view item);

}  // namespace jc
