// Program entry: the start-up sequence, the message loop, and the end.
#include <windows.h>

#include "common/file_win.h"
#include "common/gbk.h"
#include "common/paths_win.h"
#include "imaging/gdiplus_win.h"
#include "shell/main_window_win.h"
#include "shell/settings_win.h"
#include "shell/shell_texts.h"
#include "shell/single_instance_win.h"
#include "update/update_job.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ::SetCurrentDirectoryA(jc::ProgramDirectory().c_str());
  jc::GdiplusSession gdiplus;  // for the picture box, for the whole run

  const jc::ShellPlaces places = jc::ProgramPlaces();
  std::unique_ptr<jc::MainWindow> window = jc::MainWindow::Create(instance, places);
  if (!window) return 1;
  // The window exists, hidden: a second instance ends here without ever showing it.
  jc::EnsureSingleInstance(jc::Text(jc::gbk::kProgramName), jc::Text(jc::texts::kAlreadyRunning),
                           MB_ICONHAND);
  window->AddTrayIcon();
  jc::MakeFolderOf(places.settingsFile);  // data\, in the program's own folder
  jc::LoadSettings(*window, places.settingsFile);
  window->SetVisible(!window->IsChecked(jc::kIdBackgroundBox));
  window->SetTimerPeriod(jc::kUpdateNowMs);
  window->RunMessageLoop();

  // An update job may still run on its worker thread. Ending the process stops it where it is
  // (the image file is only ever replaced whole) instead of running the C runtime's exit
  // handlers and GDI+'s shutdown under its feet.
  ::ExitProcess(0);
}
