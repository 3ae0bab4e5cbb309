// The wallpaper and system folders through the real Windows calls.
#include "imaging/wallpaper_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "common/file_win.h"
#include "imaging/gdiplus_win.h"
#include "tests/support/png_maker.h"
#include "tests/support/temp_folder_win.h"

namespace jc {
namespace {

Text CurrentWallpaper() {
  char path[MAX_PATH + 1] = {};
  ::SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return path;
}

void PointWallpaperAt(const Text& path) {
  ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()), SPIF_UPDATEINIFILE);
}

// The size of a BMP file as GDI+ decodes it; (0, 0) for anything else.
std::pair<UINT, UINT> BitmapSize(const Text& path) {
  Bytes bytes = ReadWholeFile(path);
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') return {0, 0};
  GdiplusSession session;
  SIZE size = DecodeToBitmap(bytes, 0xFF000000).size;
  return {static_cast<UINT>(size.cx), static_cast<UINT>(size.cy)};
}

TEST(SystemFolderPathTest, KindsAndTrailingBackslash) {
  EXPECT_EQ(SystemFolderPath(0), SystemFolderPath(3));
  EXPECT_EQ(SystemFolderPath(), SystemFolderPath(3));
  EXPECT_FALSE(SystemFolderPath(3).empty());
  EXPECT_EQ(SystemFolderPath(13), "");
  EXPECT_EQ(SystemFolderPath(-1), "");

  char windows[MAX_PATH + 1] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_EQ(SystemFolderPath(9), Text(windows) + "\\");

  Text temp = SystemFolderPath(11);
  ASSERT_GE(temp.size(), 2u);
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_NE(temp[temp.size() - 2], '\\') << temp;

  for (int kind = 1; kind <= 12; ++kind) {
    Text path = SystemFolderPath(kind);
    if (path.empty()) continue;  // Wine lacks some shell folders
    EXPECT_EQ(path.back(), '\\') << kind;
    EXPECT_NE(path.substr(path.size() - 2), "\\\\") << kind << " " << path;
  }
}

class WallpaperTest : public testing::Test {
 protected:
  void SetUp() override {
    ::DeleteFileA(windowsBitmap.c_str());
    ASSERT_TRUE(WriteWholeFile(image, test::MakeEarthPng(550)));
  }
  void TearDown() override { ::DeleteFileA(windowsBitmap.c_str()); }

  test::TempFolder data;
  const Text image = data.Path("vela.png");
  const Text windowsBitmap = SystemFolderPath(9) + Text(kWallpaperBitmapName);
  const Text dataBitmap = data.Path(Text(kWallpaperBitmapName));
};

TEST_F(WallpaperTest, PngBecomesTheWindowsDirectoryBitmap) {
  EXPECT_TRUE(ApplyWallpaper(image));
  EXPECT_EQ(BitmapSize(windowsBitmap), std::make_pair(550u, 550u));
  EXPECT_FALSE(FileExists(dataBitmap));
  EXPECT_EQ(CurrentWallpaper(), windowsBitmap);
}

TEST_F(WallpaperTest, UnwritableWindowsDirectoryFallsBackBesideTheImage) {
  EXPECT_TRUE(ApplyWallpaper(image, "C:\\no-such-folder-for-jc\\"));
  EXPECT_EQ(BitmapSize(dataBitmap), std::make_pair(550u, 550u));
  EXPECT_EQ(CurrentWallpaper(), dataBitmap);
}

TEST_F(WallpaperTest, MissingImageWithNoBitmapChangesNothing) {
  const Text marker = data.Path("marker.bmp");
  PointWallpaperAt(marker);
  EXPECT_FALSE(ApplyWallpaper(data.Path("missing.png")));
  EXPECT_EQ(CurrentWallpaper(), marker);
  EXPECT_FALSE(FileExists(windowsBitmap));
}

TEST_F(WallpaperTest, NoImageFallsBackToTheLastGoodBitmap) {
  ASSERT_TRUE(ApplyWallpaper(image));
  const Bytes good = ReadWholeFile(windowsBitmap);
  PointWallpaperAt(data.Path("elsewhere.bmp"));
  ASSERT_TRUE(WriteWholeFile(image, BytesFromText("<html>not an image</html>")));

  EXPECT_TRUE(ApplyWallpaper(image));
  EXPECT_EQ(CurrentWallpaper(), windowsBitmap);
  EXPECT_EQ(ReadWholeFile(windowsBitmap), good);
}

TEST_F(WallpaperTest, OverlappingCallsEachWriteTheBitmap) {
  // Unserialised, one call's exclusive write would fail while the other holds the file, and
  // the loser would fall back to a bitmap beside the image.
  std::atomic<int> failures{0};
  auto apply = [&] {
    for (int i = 0; i < 8; ++i) {
      if (!ApplyWallpaper(image)) ++failures;
    }
  };
  std::thread worker(apply);
  apply();
  worker.join();
  EXPECT_EQ(failures, 0);
  EXPECT_FALSE(FileExists(dataBitmap));
  EXPECT_EQ(BitmapSize(windowsBitmap), std::make_pair(550u, 550u));
}

}  // namespace
}  // namespace jc
