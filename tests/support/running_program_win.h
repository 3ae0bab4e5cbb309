// A program started from a folder of its own and looked at through its top-level window, as a
// user would; ended by process id whatever the caller's outcome.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/text.h"
#include "common/unique_handle_win.h"

namespace jc::test {

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 15000);

class RunningProgram {
 public:
  // Copies `exe` into `folder`, writes data\vela.ini pointing at `serviceAddress` (when not
  // empty), starts it there and waits until its window of class `windowClass` is shown.
  RunningProgram(const Text& folder, const Text& exe, const std::string& windowClass,
                 const std::string& serviceAddress);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  HWND window() const { return window_; }
  HANDLE process() const { return process_.get(); }
  HWND Control(int id) const { return ::GetDlgItem(window_, id); }

  Text ControlText(int id) const;
  std::vector<Text> LogLines(int logId) const;  // each with its CR LF

 private:
  UniqueKernelHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

}  // namespace jc::test
