// The three settings through the real window, with the settings file, the image file and the
// registry roots all the test's own.
#include "shell/settings_win.h"

#include <gtest/gtest.h>

#include "common/file_win.h"
#include "common/paths_win.h"
#include "common/gbk.h"
#include "imaging/gdiplus_win.h"
#include "imaging/wallpaper_texts.h"
#include "imaging/wallpaper_win.h"
#include "shell/autostart.h"
#include "shell/main_window_win.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "tests/support/png_maker.h"
#include "tests/support/scratch_registry_win.h"
#include "tests/support/temp_folder_win.h"

namespace jc {
namespace {

constexpr ControlId kBoxes[] = {kIdWallpaperBox, kIdAutostartBox, kIdBackgroundBox};
constexpr MenuId kItems[] = {kMenuWallpaper, kMenuAutostart, kMenuBackground};
constexpr std::string_view kKeys[] = {texts::kWallpaper, texts::kAutostart, texts::kBackground};

const Text kSection = "[" + Text(kSettingsSection) + "]\r\n";
Text Line(std::string_view key, std::string_view value) {
  return Text(key) + "=" + Text(value) + "\r\n";
}

class SettingsTest : public testing::Test {
 protected:
  SettingsTest() {
    ::CreateDirectoryA(folder.Path("data").c_str(), nullptr);
    places.settingsFile = folder.Path("data\\vela.ini");
    places.imageFile = folder.Path("data\\vela.png");
    places.runRoots = registry.roots();
    window = MainWindow::Create(::GetModuleHandleA(nullptr), places);
  }

  void Click(ControlId box) { ::SendMessageA(::GetDlgItem(window->hwnd(), box), BM_CLICK, 0, 0); }
  void Choose(MenuId item) { ::SendMessageA(window->hwnd(), WM_COMMAND, item, 0); }
  Text Stored() const { return TextFromBytes(ReadWholeFile(places.settingsFile)); }
  bool RunValueExists() const {
    return test::ReadRegistryValue(places.runRoots.machine, Text(kRunKey), Text(gbk::kProgramName))
        .exists;
  }
  // Box and item of each setting, which must agree.
  std::vector<bool> States() const {
    std::vector<bool> states;
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(window->IsChecked(kBoxes[i]), window->IsMenuChecked(kItems[i])) << i;
      states.push_back(window->IsChecked(kBoxes[i]));
    }
    return states;
  }

  GdiplusSession gdiplus;
  test::TempFolder folder;
  test::ScratchRegistry registry;
  ShellPlaces places;
  std::unique_ptr<MainWindow> window;
};

TEST_F(SettingsTest, NoFileReadsAsAllOffAndWritesNothing) {
  LoadSettings(*window, places.settingsFile);
  EXPECT_EQ(States(), (std::vector<bool>{false, false, false}));
  EXPECT_FALSE(FileExists(places.settingsFile));
}

TEST_F(SettingsTest, LoadsEachStoredValue) {
  const struct {
    const char* name;
    Text file;
    std::vector<bool> states;
  } cases[] = {
      {"all on",
       kSection + Line(texts::kWallpaper, kOnText) + Line(texts::kAutostart, kOnText) +
           Line(texts::kBackground, kOnText),
       {true, true, true}},
      {"one key missing",
       kSection + Line(texts::kWallpaper, kOnText) + Line(texts::kBackground, kOnText),
       {true, false, true}},
      {"only 真 is on",
       kSection + Line(texts::kWallpaper, "1") + Line(texts::kAutostart, "true") +
           Line(texts::kBackground, "TRUE"),
       {false, false, false}},
      {"empty and off values",
       kSection + Line(texts::kWallpaper, "") + Line(texts::kAutostart, kOffText) +
           Line(texts::kBackground, kOnText),
       {false, false, true}},
      {"another section", "[x]\r\n" + Line(texts::kWallpaper, kOnText), {false, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (ControlId box : kBoxes) window->SetChecked(box, false);
    WriteWholeFile(places.settingsFile, BytesFromText(c.file));
    LoadSettings(*window, places.settingsFile);
    EXPECT_EQ(States(), c.states);
    EXPECT_EQ(Stored(), c.file) << "loading writes nothing";
  }
  EXPECT_FALSE(RunValueExists()) << "loading does not touch the registry";
}

TEST_F(SettingsTest, SwitchingAllOnStoresGbkKeysAndValues) {
  Choose(kMenuWallpaper);
  Click(kIdAutostartBox);
  Choose(kMenuBackground);
  EXPECT_EQ(States(), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(Stored(), kSection + Line(texts::kWallpaper, kOnText) + Line(texts::kAutostart, kOnText) +
                          Line(texts::kBackground, kOnText));
  EXPECT_TRUE(RunValueExists());
}

TEST_F(SettingsTest, EachPathKeepsBoxItemAndFileInStep) {
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    Click(kBoxes[i]);
    EXPECT_TRUE(States()[i]);
    EXPECT_EQ(ReadIniText(places.settingsFile, kSettingsSection, kKeys[i]), kOnText);
    Choose(kItems[i]);
    EXPECT_FALSE(States()[i]);
    Choose(kItems[i]);
    EXPECT_TRUE(States()[i]);
    Click(kBoxes[i]);
    EXPECT_FALSE(States()[i]);
  }
  EXPECT_EQ(Stored(), kSection + Line(texts::kWallpaper, kOffText) + Line(texts::kAutostart, kOffText) +
                          Line(texts::kBackground, kOffText));
}

TEST_F(SettingsTest, AutostartFollowsEitherPath) {
  Click(kIdAutostartBox);
  EXPECT_TRUE(RunValueExists());
  Choose(kMenuAutostart);
  EXPECT_FALSE(RunValueExists());
  Choose(kMenuAutostart);
  test::RegistryValue value = test::ReadRegistryValue(places.runRoots.machine, Text(kRunKey),
                                                      Text(gbk::kProgramName));
  ASSERT_TRUE(value.exists);
  EXPECT_EQ(value.data, ThisProgramsAutostartCommand() + '\0');
  Click(kIdAutostartBox);
  EXPECT_FALSE(RunValueExists());
  EXPECT_EQ(ReadIniText(places.settingsFile, kSettingsSection, texts::kAutostart), kOffText);
}

TEST_F(SettingsTest, BackgroundNeitherShowsNorHidesTheWindow) {
  for (bool visible : {false, true}) {
    window->SetVisible(visible);
    Choose(kMenuBackground);
    EXPECT_EQ(window->IsVisible(), visible);
    Click(kIdBackgroundBox);
    EXPECT_EQ(window->IsVisible(), visible);
  }
  EXPECT_EQ(States(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(ReadIniText(places.settingsFile, kSettingsSection, texts::kBackground), kOffText);
}

// Only the check box applies the stored image at once; the tray item leaves it to the next
// update.
TEST_F(SettingsTest, WallpaperBoxAppliesAtOnceTrayItemDoesNot) {
  const Text bitmap = SystemFolderPath(9) + Text(kWallpaperBitmapName);
  ::DeleteFileA(bitmap.c_str());
  ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(""), 0);
  WriteWholeFile(places.imageFile, test::MakeEarthPng(32));

  Choose(kMenuWallpaper);
  EXPECT_TRUE(window->IsChecked(kIdWallpaperBox));
  EXPECT_FALSE(FileExists(bitmap));
  Choose(kMenuWallpaper);

  Click(kIdWallpaperBox);
  EXPECT_TRUE(FileExists(bitmap));
  char named[MAX_PATH + 1] = {};
  ::SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, named, 0);
  EXPECT_EQ(Text(named), bitmap);
  ::DeleteFileA(bitmap.c_str());

  Click(kIdWallpaperBox);  // unticking applies nothing
  EXPECT_FALSE(FileExists(bitmap));
}

}  // namespace
}  // namespace jc
