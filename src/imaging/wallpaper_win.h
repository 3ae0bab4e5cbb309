// Making an image file the desktop wallpaper, and finding system folders.
#pragma once

#include <string_view>

#include "common/text.h"
#include "imaging/wallpaper_texts.h"

namespace jc {

// Converts the image file to the wallpaper bitmap and points Windows at it (stored in the
// user's profile, no broadcast). The bitmap goes to the Windows directory where the program
// may write there, else beside the image file (a program running as invoker may not write the
// Windows directory). When the file holds no image, Windows is pointed again at the newest
// bitmap left by an earlier call; with none at either place Windows is not touched and the
// result is false. Otherwise the result is Windows' answer. Calls from the worker and the
// user-interface thread are serialised, so neither loses its write.
bool ApplyWallpaper(const Text& imagePath);

// The same with the Windows directory given (with its trailing backslash); for tests.
bool ApplyWallpaper(const Text& imagePath, const Text& windowsDirectory);

// The folder of a kind, ending in exactly one "\", or empty when it cannot be found:
// 1 documents, 2 Favorites, 3 (and 0) desktop, 4 fonts, 5 Start menu, 6 its Programs,
// 7 Startup, 8 application data, 9 Windows, 10 system, 11 temporary files, 12 Internet cache.
Text SystemFolderPath(int kind = 0);

}  // namespace jc
