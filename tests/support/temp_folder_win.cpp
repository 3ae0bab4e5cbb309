#include "tests/support/temp_folder_win.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace jc::test {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(MAX_PATH, temp);
  path_ = Text(temp) + "jc-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
          std::to_string(counter++) + "\\";
  RemoveTree(path_);
  ::CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool TempFolder::IsEmpty() const {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((path_ + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    Text name = found.cFileName;
    if (name != "." && name != "..") empty = false;
  } while (empty && ::FindNextFileA(search, &found));
  ::FindClose(search);
  return empty;
}

void RemoveTree(const Text& folder) {
  Text base = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((base + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      Text name = found.cFileName;
      if (name == "." || name == "..") continue;
      Text path = base + name;
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(base.c_str());
}

}  // namespace jc::test
