#include "imaging/wallpaper_win.h"

#include <windows.h>
#include <shlobj.h>

#include <mutex>

#include "common/file_win.h"
#include "imaging/image_convert.h"

namespace jc {
namespace {

constexpr int kBmp = 1;

// The folder part of a path, with its trailing backslash; empty for a bare name. The search is
// double-byte aware: a GBK second byte 0x5C is no separator.
Text FolderOf(const Text& path) {
  int slash = FindTextReverse(path, "\\");
  return slash == -1 ? Text() : LeftText(path, slash);
}

ULONGLONG LastWriteTime(const Text& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

// Of the bitmaps that earlier calls left, the one written last; empty when there is none.
Text NewestExisting(const Text (&candidates)[2]) {
  Text newest;
  ULONGLONG newestTime = 0;
  for (const Text& candidate : candidates) {
    if (!FileExists(candidate)) continue;
    ULONGLONG time = LastWriteTime(candidate);
    if (newest.empty() || time > newestTime) {
      newest = candidate;
      newestTime = time;
    }
  }
  return newest;
}

}  // namespace

bool ApplyWallpaper(const Text& imagePath) { return ApplyWallpaper(imagePath, SystemFolderPath(9)); }

bool ApplyWallpaper(const Text& imagePath, const Text& windowsDirectory) {
  static std::mutex serial;
  std::lock_guard<std::mutex> lock(serial);

  const Text name(kWallpaperBitmapName);
  const Text candidates[2] = {windowsDirectory + name, FolderOf(imagePath) + name};
  Text wallpaper;
  Bytes bitmap;
  if (ConvertImageFormat(ReadWholeFile(imagePath), kBmp, {}, &bitmap)) {
    for (const Text& candidate : candidates) {
      // Through a temporary file: a failed write never leaves a truncated bitmap behind.
      if (ReplaceFileAtomically(candidate, bitmap)) {
        wallpaper = candidate;
        break;
      }
    }
  }
  if (wallpaper.empty()) wallpaper = NewestExisting(candidates);
  if (wallpaper.empty()) return false;
  return ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, wallpaper.data(), SPIF_UPDATEINIFILE) !=
         FALSE;
}

Text SystemFolderPath(int kind) {
  static constexpr int kShellFolders[] = {
      0, CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS, CSIDL_STARTMENU,
      CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA};
  if (kind == 0) kind = 3;
  Text path(MAX_PATH, '\0');
  if ((kind >= 1 && kind <= 8) || kind == 12) {
    int csidl = kind == 12 ? CSIDL_INTERNET_CACHE : kShellFolders[kind];
    if (!::SHGetSpecialFolderPathA(nullptr, path.data(), csidl, FALSE)) return {};
    path.resize(std::char_traits<char>::length(path.c_str()));
  } else if (kind >= 9 && kind <= 11) {
    auto query = [kind](Text& buffer) -> DWORD {
      UINT size = static_cast<UINT>(buffer.size());
      if (kind == 9) return ::GetWindowsDirectoryA(buffer.data(), size);
      if (kind == 10) return ::GetSystemDirectoryA(buffer.data(), size);
      return ::GetTempPathA(size, buffer.data());
    };
    DWORD length = query(path);
    // A length beyond the buffer is the room the path needs: ask once more with that much.
    if (length > path.size()) {
      path.assign(length, '\0');
      length = query(path);
    }
    if (length == 0 || length > path.size()) return {};
    path.resize(length);
  } else {
    return {};
  }
  if (path.empty()) return {};
  // Double-byte aware: a GBK character whose second byte is 0x5C does not end the path in "\".
  if (FindTextReverse(path, "\\") != static_cast<int>(path.size())) path += '\\';
  return path;
}

}  // namespace jc
