#include "shell/single_instance_win.h"

#include "common/paths_win.h"
#include "shell/process_win.h"
#include "shell/shell_texts.h"

namespace jc {

void EnsureSingleInstance(const Text& name, const Text& message, UINT style) {
  // Creating and then asking whether it existed leaves no gap for a second instance that
  // starts at the same moment. The handle stays open for the life of the process on purpose:
  // only the event's existence counts.
  HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, name.c_str());
  const DWORD error = ::GetLastError();
  // Denied: an instance with more rights (started elevated) owns the event.
  const bool running = event ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
  if (!running) return;

  const std::string caption(texts::kReminderCaption);
  ::MessageBoxA(nullptr, message.c_str(), caption.c_str(), style | MB_OK | MB_TASKMODAL);
  if (DWORD other = FindProcessId(ProgramFileName(), ::GetCurrentProcessId())) {
    BringWindowToFront(FindProcessWindow(other));
  }
  ::ExitProcess(0);
}

}  // namespace jc
