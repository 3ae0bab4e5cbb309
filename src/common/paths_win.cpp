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

Text DataDirectory() { return ProgramDirectory() + "\\data\\"; }

Text SettingsFilePath() { return DataDirectory() + "vela.ini"; }

Text ReadIniText(const Text& path, std::string_view section, std::string_view key) {
  Text value(4096, '\0');
  DWORD length = ::GetPrivateProfileStringA(Text(section).c_str(), Text(key).c_str(), "",
                                            value.data(), static_cast<DWORD>(value.size()),
                                            path.c_str());
  value.resize(length);
  return value;
}

}  // namespace jc
