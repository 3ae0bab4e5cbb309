// Where the program keeps its files: the data directory beside the program file.
#pragma once

#include "common/text.h"

namespace jc {

// The directory of the running program file, without a trailing backslash (ANSI code page).
Text ProgramDirectory();

// The file-name part of the running program's path, for instance "jichuang.exe".
Text ProgramFileName();

// ProgramDirectory() + "\data\", with the trailing backslash.
Text DataDirectory();

// The settings file, DataDirectory() + "vela.ini".
Text SettingsFilePath();

// The stored image, DataDirectory() + "vela.png".
Text ImageFilePath();

// A value of a private INI file, at most 10239 bytes; `fallback` when the file, the section or
// the key is missing (a key with an empty value reads as empty).
Text ReadIniText(const Text& path, std::string_view section, std::string_view key,
                 std::string_view fallback = {});

// Writes one value, creating the file or the section when missing; false when Windows could not.
bool WriteIniText(const Text& path, std::string_view section, std::string_view key,
                  std::string_view value);

}  // namespace jc
