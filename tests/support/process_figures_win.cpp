#include "tests/support/process_figures_win.h"

#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace jc::test {
namespace {

std::string ReadUnixFile(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
  }
  return text;
}

}  // namespace

std::string UnixProcessIn(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &found);
  std::string result;
  if (search == INVALID_HANDLE_VALUE) return result;
  do {
    std::string name = found.cFileName;
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string commandLine = ReadUnixFile("Z:\\proc\\" + name + "\\cmdline");
    for (char& c : commandLine) c = static_cast<char>(tolower(static_cast<unsigned char>(c == '\0' ? ' ' : c)));
    std::string lowerFolder = folder;
    for (char& c : lowerFolder) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (commandLine.find(lowerFolder) != std::string::npos) result = name;
  } while (result.empty() && ::FindNextFileA(search, &found));
  ::FindClose(search);
  return result;
}

// Fields 14 and 15 of /proc/PID/stat, in clock ticks of 1/100 s.
double CpuSeconds(const std::string& pid) {
  std::string stat = ReadUnixFile("Z:\\proc\\" + pid + "\\stat");
  size_t at = stat.rfind(')');
  if (at == std::string::npos) return 0;
  unsigned long long ticks[2] = {};
  int field = 2;
  for (size_t i = at + 2; i < stat.size() && field <= 15; ++field) {
    size_t end = stat.find(' ', i);
    if (field >= 14) ticks[field - 14] = std::strtoull(stat.c_str() + i, nullptr, 10);
    i = end == std::string::npos ? stat.size() : end + 1;
  }
  return (ticks[0] + ticks[1]) / 100.0;
}

// The RssAnon line of /proc/PID/status.
double PrivateMiB(const std::string& pid) {
  std::string status = ReadUnixFile("Z:\\proc\\" + pid + "\\status");
  size_t at = status.find("RssAnon:");
  return at == std::string::npos ? 0 : std::strtoull(status.c_str() + at + 8, nullptr, 10) / 1024.0;
}

HandleFigures HandleFiguresOf(DWORD processId) {
  using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll"), "NtQuerySystemInformation")));
  HandleFigures figures;
  if (!query) return figures;
  std::vector<char> list(1 << 20);
  ULONG length = 0;
  if (query(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), &length) != 0) {
    return figures;
  }
  for (size_t at = 0;;) {
    auto* entry = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(list.data() + at);
    if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) == processId) {
      figures.handles = entry->HandleCount;
      figures.threads = entry->NumberOfThreads;
      return figures;
    }
    if (!entry->NextEntryOffset) return figures;
    at += entry->NextEntryOffset;
  }
}

}  // namespace jc::test
