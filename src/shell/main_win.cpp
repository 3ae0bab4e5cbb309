// Program entry: the window, the tray icon and the first update 100 ms after start.
#include <windows.h>

#include "common/paths_win.h"
#include "imaging/gdiplus_win.h"
#include "shell/main_window_win.h"
#include "update/update_job.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ::SetCurrentDirectoryA(jc::ProgramDirectory().c_str());
  ::CreateDirectoryA(jc::DataDirectory().c_str(), nullptr);
  jc::GdiplusSession gdiplus;  // for the picture box, for the whole run

  std::unique_ptr<jc::MainWindow> window = jc::MainWindow::Create(instance);
  if (!window) return 1;
  window->AddTrayIcon();
  window->SetVisible(true);
  window->SetTimerPeriod(jc::kUpdateNowMs);
  return window->RunMessageLoop();
}
