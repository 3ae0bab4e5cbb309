#include "tests/support/running_program_win.h"

#include "common/file_win.h"
#include "update/service_address.h"

namespace jc::test {
namespace {

struct Search {
  DWORD processId;
  const std::string* windowClass;
  HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  char name[64] = {};
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  ::GetClassNameA(hwnd, name, sizeof name);
  if (owner != search->processId || name != *search->windowClass) return TRUE;
  search->found = hwnd;
  return FALSE;
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

RunningProgram::RunningProgram(const Text& folder, const Text& exe, const std::string& windowClass,
                               const std::string& serviceAddress) {
  const Text base = folder.back() == '\\' ? folder : folder + "\\";
  const Text copy = base + exe.substr(exe.find_last_of("/\\") + 1);
  ::CopyFileA(exe.c_str(), copy.c_str(), FALSE);
  ::CreateDirectoryA((base + "data").c_str(), nullptr);
  if (!serviceAddress.empty()) {
    WriteWholeFile(base + "data\\vela.ini",
                   BytesFromText("[" + Text(kServiceSection) + "]\r\n" + Text(kServiceKey) + "=" +
                                 serviceAddress + "\r\n"));
  }
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION info = {};
  Text commandLine = "\"" + copy + "\"";
  if (!::CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        base.c_str(), &startup, &info)) {
    return;
  }
  process_.reset(info.hProcess);
  ::CloseHandle(info.hThread);
  processId_ = info.dwProcessId;
  // Found during its creation already: wait until it is shown, with every control made.
  WaitFor([&] {
    Search search{processId_, &windowClass, nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    window_ = search.found;
    return window_ && ::IsWindowVisible(window_);
  });
}

RunningProgram::~RunningProgram() {
  if (process_) {
    ::TerminateProcess(process_.get(), 9);
    ::WaitForSingleObject(process_.get(), 10000);
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

}  // namespace jc::test
