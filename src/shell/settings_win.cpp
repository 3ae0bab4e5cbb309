#include "shell/settings_win.h"

#include "common/file_win.h"
#include "common/gbk.h"
#include "common/paths_win.h"
#include "imaging/wallpaper_win.h"
#include "shell/main_window_win.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"

namespace jc {
namespace {

struct SettingSpec {
  ControlId box;
  MenuId item;
  std::string_view key;
};

const SettingSpec kSettings[] = {
    {kIdWallpaperBox, kMenuWallpaper, texts::kWallpaper},
    {kIdAutostartBox, kMenuAutostart, texts::kAutostart},
    {kIdBackgroundBox, kMenuBackground, texts::kBackground},
};

const SettingSpec* SpecOfBox(ControlId box) {
  for (const SettingSpec& spec : kSettings) {
    if (spec.box == box) return &spec;
  }
  return nullptr;
}

const SettingSpec* SpecOfItem(MenuId item) {
  for (const SettingSpec& spec : kSettings) {
    if (spec.item == item) return &spec;
  }
  return nullptr;
}

void Store(const SettingSpec& spec, bool on, const ShellPlaces& places) {
  // A failed write is not reported: the setting holds for this run only.
  MakeFolderOf(places.settingsFile);
  WriteIniText(places.settingsFile, kSettingsSection, spec.key, SettingText(on));
}

void UpdateAutostart(bool on, const ShellPlaces& places) {
  SetAutostart(Text(gbk::kProgramName), ThisProgramsAutostartCommand(), !on, places.runRoots);
}

}  // namespace

ShellPlaces ProgramPlaces() { return {SettingsFilePath(), ImageFilePath(), {}}; }

void LoadSettings(MainWindow& window, const Text& settingsFile) {
  for (const SettingSpec& spec : kSettings) {
    const Text stored = ReadIniText(settingsFile, kSettingsSection, spec.key,
                                    SettingText(window.IsChecked(spec.box)));
    window.SetChecked(spec.box, SettingIsOn(stored));
  }
  for (const SettingSpec& spec : kSettings) {
    window.SetMenuChecked(spec.item, window.IsChecked(spec.box));
  }
}

void OnSettingBoxClicked(MainWindow& window, ControlId box, const ShellPlaces& places) {
  const SettingSpec* spec = SpecOfBox(box);
  if (!spec) return;
  const bool on = window.IsChecked(box);
  window.SetMenuChecked(spec->item, on);
  Store(*spec, on, places);
  if (box == kIdWallpaperBox && on) ApplyWallpaper(places.imageFile);
  if (box == kIdAutostartBox) UpdateAutostart(on, places);
}

void OnSettingItemChosen(MainWindow& window, MenuId item, const ShellPlaces& places) {
  const SettingSpec* spec = SpecOfItem(item);
  if (!spec) return;
  const bool on = !window.IsMenuChecked(item);
  window.SetMenuChecked(item, on);
  window.SetChecked(spec->box, on);
  Store(*spec, on, places);
  if (item == kMenuAutostart) UpdateAutostart(on, places);
}

}  // namespace jc
