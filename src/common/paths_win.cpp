#include "common/paths_win.h"

#include <windows.h>

namespace jc {
namespace {

Text ProgramPath() {
  Text path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: a long path
  }
}

}  // namespace

Text ProgramDirectory() {
  Text path = ProgramPath();
  int slash = FindTextReverse(path, "\\");
  return slash == -1 ? Text() : LeftText(path, slash - 1);
}

Text ProgramFileName() {
  Text path = ProgramPath();
  int slash = FindTextReverse(path, "\\");
  return slash == -1 ? path : MidText(path, slash + 1, static_cast<int>(path.size()));
}

Text DataDirectory() { return ProgramDirectory() + "\\data\\"; }

Text SettingsFilePath() { return DataDirectory() + "vela.ini"; }

Text ImageFilePath() { return DataDirectory() + "vela.png"; }

Text ReadIniText(const Text& path, std::string_view section, std::string_view key,
                 std::string_view fallback) {
  Text value(10240, '\0');
  DWORD length = ::GetPrivateProfileStringA(Text(section).c_str(), Text(key).c_str(),
                                            Text(fallback).c_str(), value.data(),
                                            static_cast<DWORD>(value.size()), path.c_str());
  value.resize(length);
  return value;
}

bool WriteIniText(const Text& path, std::string_view section, std::string_view key,
                  std::string_view value) {
  return ::WritePrivateProfileStringA(Text(section).c_str(), Text(key).c_str(),
                                      Text(value).c_str(), path.c_str()) != FALSE;
}

}  // namespace jc
