// The wallpaper bitmap's file name, as GBK bytes.
#pragma once

#include <string_view>

namespace jc {

inline constexpr std::string_view kWallpaperBitmapName =
    "\xD7\xC0\xC3\xE6\xB1\xB3\xBE\xB0\xCD\xBC\xC6\xAC.bmp";  // "桌面背景图片.bmp"

}  // namespace jc
