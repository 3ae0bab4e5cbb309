#include "tests/support/running_program_win.h"

#include <cstdlib>

#include "common/file_win.h"
#include "update/service_address.h"

namespace jc::test {
namespace {

struct Search {
  DWORD processId;
  std::string windowClass;
  Text caption;  // empty: any
  HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  char name[64] = {}, caption[256] = {};
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  ::GetClassNameA(hwnd, name, sizeof name);
  if (owner != search->processId || name != search->windowClass) return TRUE;
  if (!search->caption.empty()) {
    ::GetWindowTextA(hwnd, caption, sizeof caption);
    if (caption != search->caption) return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

HWND FindTopLevel(DWORD processId, const std::string& windowClass, const Text& caption = {}) {
  Search search{processId, windowClass, caption, nullptr};
  ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD began = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - began > timeoutMs) return false;
    ::Sleep(20);
  }
  return true;
}

Text InstallProgram(const Text& folder, const Text& exe, const Text& settings) {
  const Text base = folder.back() == '\\' ? folder : folder + "\\";
  const Text copy = base + exe.substr(exe.find_last_of("/\\") + 1);
  ::CopyFileA(exe.c_str(), copy.c_str(), FALSE);
  if (!settings.empty()) {
    ::CreateDirectoryA((base + "data").c_str(), nullptr);
    // Settings that did not land would send the program to its default service on the
    // internet: a test must never go on then.
    if (!WriteWholeFile(base + "data\\vela.ini", BytesFromText(settings))) std::abort();
  }
  return copy;
}

Text ServiceSettings(const std::string& serviceAddress) {
  return "[" + Text(kServiceSection) + "]\r\n" + Text(kServiceKey) + "=" + serviceAddress + "\r\n";
}

RunningProgram::RunningProgram(const Text& program, const std::string& windowClass, Wait wait) {
  const Text folder = program.substr(0, program.find_last_of('\\') + 1);
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION info = {};
  Text commandLine = "\"" + program + "\"";
  if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
    return;
  }
  process_.reset(info.hProcess);
  thread_.reset(info.hThread);
  processId_ = info.dwProcessId;
  if (wait != Wait::kNothing) WaitForWindow(windowClass, wait == Wait::kShown);
}

bool RunningProgram::WaitForWindow(const std::string& windowClass, bool shown) {
  // Found during its creation already: a shown window has every control made.
  return WaitFor([&] {
    window_ = FindWindowOfClass(windowClass);
    return window_ && (!shown || ::IsWindowVisible(window_));
  });
}

RunningProgram::RunningProgram(const Text& folder, const Text& exe, const std::string& windowClass,
                               const std::string& serviceAddress)
    : RunningProgram(InstallProgram(folder, exe,
                                    serviceAddress.empty() ? Text() : ServiceSettings(serviceAddress)),
                     windowClass) {}

RunningProgram::~RunningProgram() {
  if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.get(), 9);
    ::WaitForSingleObject(process_.get(), 10000);
  }
}

HWND RunningProgram::FindWindowOfClass(const std::string& windowClass) const {
  return FindTopLevel(processId_, windowClass);
}

HWND RunningProgram::FindDialog(const Text& caption) const {
  return FindTopLevel(processId_, "#32770", caption);
}

DWORD RunningProgram::WaitForExit(DWORD timeoutMs) const {
  switch (::WaitForSingleObject(process_.get(), timeoutMs)) {
    case WAIT_OBJECT_0: {
      DWORD code = WAIT_FAILED;
      ::GetExitCodeProcess(process_.get(), &code);
      return code;
    }
    case WAIT_TIMEOUT:
      return STILL_ACTIVE;
    default:
      return WAIT_FAILED;  // no process to wait for: neither running nor ended well
  }
}

Text RunningProgram::ControlText(int id) const {
  std::vector<char> buffer(1 << 20);
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(Control(id), WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 5000, &result);
  return buffer.data();
}

std::vector<Text> RunningProgram::LogLines(int logId) const {
  std::vector<Text> lines;
  Text log = ControlText(logId);
  for (size_t start = 0, end; (end = log.find("\r\n", start)) != Text::npos; start = end + 2) {
    lines.push_back(log.substr(start, end - start + 2));
  }
  return lines;
}

Text MessageBoxText(HWND box) {
  char text[512] = {};
  ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static control
  return text;
}

}  // namespace jc::test
