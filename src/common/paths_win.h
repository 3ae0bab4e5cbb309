// Where the program keeps its files: the data directory beside the program file.
#pragma once

#include "common/text.h"

namespace jc {

// The directory of the running program file, without a trailing backslash (ANSI code page).
Text ProgramDirectory();

// ProgramDirectory() + "\data\", with the trailing backslash.
Text DataDirectory();

// The settings file, DataDirectory() + "vela.ini".
Text SettingsFilePath();

// A value of a private INI file, empty when the file, the section or the key is missing.
Text ReadIniText(const Text& path, std::string_view section, std::string_view key);

}  // namespace jc
