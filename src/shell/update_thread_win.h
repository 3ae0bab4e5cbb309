// Runs one update job on a worker thread of its own, against the main window.
#pragma once

#include <windows.h>

#include "shell/main_window_win.h"

namespace jc {

// Starts the job's thread and releases its handle at once: nothing waits for it. The job
// reaches the window only through posted tasks, so it never touches a control from its own
// thread; `finished` is posted to the window when the job has ended. False when no thread
// could be started.
bool StartUpdateThread(HWND window, MainWindow::Task finished);

}  // namespace jc
