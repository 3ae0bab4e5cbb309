// The three settings on screen: check boxes and tray items kept in step, stored in the
// settings file at each change, and read back once at start-up.
#pragma once

#include "common/text.h"
#include "shell/autostart_win.h"

namespace jc {

class MainWindow;
enum ControlId : int;
enum MenuId : UINT;

// Where the settings act: the program's own files and registry, or a test's.
struct ShellPlaces {
  Text settingsFile;    // the settings, section "设置"
  Text imageFile;       // the stored image, made the wallpaper when the wallpaper box is ticked
  RegistryRoots runRoots;
};

// data\vela.ini and data\vela.png beside the program, and the real registry.
ShellPlaces ProgramPlaces();

// Ticks the boxes of the settings stored as on, and copies the boxes into the tray items.
// Writes nothing: a missing file reads as all off.
void LoadSettings(MainWindow& window, const Text& settingsFile);

// A setting's check box was clicked (it has toggled itself already). The wallpaper box applies
// the stored image at once when ticked; the autostart box writes or removes the Run value.
void OnSettingBoxClicked(MainWindow& window, ControlId box, const ShellPlaces& places);

// A setting's tray item was chosen: it toggles, and the box follows. The wallpaper item only
// stores the setting; the next update applies it.
void OnSettingItemChosen(MainWindow& window, MenuId item, const ShellPlaces& places);

}  // namespace jc
