// Figures of another running process, for benchmarks and drills. Wine answers
// GetProcessTimes, GetProcessMemoryInfo and GetGuiResources for another process with zeros, so
// CPU time and memory come from Linux's own account of the process, read through the Z: drive,
// and the handle count from the system's process list.
#pragma once

#include <windows.h>

#include <string>

namespace jc::test {

// The Linux process whose command line names `folder` (each program runs from its own), as
// its /proc name; empty when none.
std::string UnixProcessIn(const std::string& folder);

// User and system time of the Linux process, in seconds.
double CpuSeconds(const std::string& unixPid);

// Private (anonymous) resident memory of the Linux process, in MiB.
double PrivateMiB(const std::string& unixPid);

// Open handles and threads of a Windows process, from the system's process list; 0 when the
// process is not listed.
struct HandleFigures {
  unsigned long handles = 0;
  unsigned long threads = 0;
};
HandleFigures HandleFiguresOf(DWORD processId);

}  // namespace jc::test
