#include "shell/process_win.h"

#include <tlhelp32.h>

#include <functional>

#include "common/unique_handle_win.h"

namespace jc {
namespace {

// Calls `visit` for each process entry until it returns true; false when the walk ended first
// or there was no snapshot.
bool WalkProcesses(const std::function<bool(const PROCESSENTRY32&)>& visit) {
  UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32 entry = {sizeof entry};
  for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
       more = ::Process32Next(snapshot.get(), &entry)) {
    if (visit(entry)) return true;
  }
  return false;
}

Text ExeFileOf(const PROCESSENTRY32& entry) {
  return Text(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile));
}

void DispatchPendingMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace

Text ProcessNameById(DWORD processId) {
  Text name;
  WalkProcesses([&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID != processId) return false;
    name = ExeFileOf(entry);
    return true;
  });
  return name;
}

DWORD FindProcessId(const Text& fileName, DWORD except) {
  const Text wanted = LowerCase(fileName);
  DWORD found = 0;
  WalkProcesses([&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID == except || LowerCase(ExeFileOf(entry)) != wanted) return false;
    found = entry.th32ProcessID;
    return true;
  });
  return found;
}

HWND FindProcessWindow(DWORD processId, DWORD limitMs, DWORD pauseMs) {
  const DWORD began = ::GetTickCount();
  for (;;) {
    for (HWND window = ::FindWindowExA(nullptr, nullptr, nullptr, nullptr); window;
         window = ::FindWindowExA(nullptr, window, nullptr, nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == processId && ::IsWindowVisible(window)) return window;
    }
    DispatchPendingMessages();
    if (::GetTickCount() - began >= limitMs) return nullptr;
    // A pause between passes: the other instance may be hidden in the tray for good.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, pauseMs, QS_ALLINPUT);
  }
}

void BringWindowToFront(HWND window) {
  if (!window) return;
  ::ShowWindow(window, SW_RESTORE);
  ::SetForegroundWindow(window);
  ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace jc
