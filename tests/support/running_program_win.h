// A program started from a folder of its own and looked at through its top-level windows, as a
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

// Copies `exe` into `folder` and returns the copy's path. With a `settings` text, writes it as
// data\vela.ini (making data\ first); ends the test run when it cannot.
Text InstallProgram(const Text& folder, const Text& exe, const Text& settings = {});

// The settings file's service section pointing at `serviceAddress`.
Text ServiceSettings(const std::string& serviceAddress);

class RunningProgram {
 public:
  enum class Wait { kShown, kCreated, kNothing };

  // Starts `program` (in its own folder) and waits until its window of class `windowClass` is
  // shown, or exists, or not at all.
  RunningProgram(const Text& program, const std::string& windowClass, Wait wait = Wait::kShown);

  // Installs `exe` into `folder` with settings pointing at `serviceAddress` and starts it.
  RunningProgram(const Text& folder, const Text& exe, const std::string& windowClass,
                 const std::string& serviceAddress);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  HWND window() const { return window_; }
  HANDLE process() const { return process_.get(); }
  HANDLE mainThread() const { return thread_.get(); }
  DWORD processId() const { return processId_; }
  HWND Control(int id) const { return ::GetDlgItem(window_, id); }

  // The window of `windowClass` (found again: it may not have existed at the start).
  HWND FindWindowOfClass(const std::string& windowClass) const;
  // Waits until that window exists (and with `shown`, is visible), and makes it `window()`.
  bool WaitForWindow(const std::string& windowClass, bool shown);
  // A dialog (a message box) of this process with `caption`, or null.
  HWND FindDialog(const Text& caption) const;
  // The exit code once the process has ended within `timeoutMs`, STILL_ACTIVE while it runs,
  // WAIT_FAILED when there is no process to wait for.
  DWORD WaitForExit(DWORD timeoutMs = 15000) const;

  Text ControlText(int id) const;
  std::vector<Text> LogLines(int logId) const;  // each with its CR LF

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle thread_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// The message text of a message box.
Text MessageBoxText(HWND box);

}  // namespace jc::test
