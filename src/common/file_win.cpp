#include "common/file_win.h"

#include <windows.h>

#include "common/unique_handle_win.h"

namespace jc {

Bytes ReadWholeFile(const Text& path) {
  if (path.empty()) return {};
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return {};
  Bytes bytes(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                    &read, nullptr) ||
        read == 0) {
      return {};
    }
    done += read;
  }
  return bytes;
}

bool WriteWholeFile(const Text& path, const Bytes& bytes) {
  if (path.empty()) return false;
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                     &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool FileExists(const Text& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolderOf(const Text& path) {
  int slash = FindTextReverse(path, "\\");
  if (slash > 1) ::CreateDirectoryA(LeftText(path, slash - 1).c_str(), nullptr);
}

bool ReplaceFileAtomically(const Text& path, const Bytes& bytes) {
  if (path.empty()) return false;
  const Text temporary = path + ".tmp";
  if (!WriteWholeFile(temporary, bytes) ||
      !::MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace jc
