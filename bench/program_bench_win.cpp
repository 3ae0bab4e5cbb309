// The program's responsiveness, idle cost and memory, each beside the same figure for a bare
// Win32 window program measured in the same run:
//   - the longest WM_NULL round trip to the window during a job whose answers the sample
//     service holds for 10 s (the user-interface thread never waits for the network);
//   - CPU time over 60 idle seconds after a job (nothing polls);
//   - private bytes after 20 jobs against those after the first (nothing leaks).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/main_window_win.h"
#include "tests/support/process_figures_win.h"
#include "tests/support/running_program_win.h"
#include "tests/support/sample_service_win.h"
#include "tests/support/temp_folder_win.h"

namespace {

using jc::test::CpuSeconds;
using jc::test::PrivateMiB;
using jc::test::RunningProgram;
using jc::test::UnixProcessIn;
using jc::test::WaitFor;

DWORD RoundTripMs(HWND window) {
  DWORD began = ::GetTickCount();
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  return ::GetTickCount() - began;
}

size_t Lines(const RunningProgram& program) { return program.LogLines(jc::kIdLog).size(); }

}  // namespace

int main() {
  jc::test::SampleService service;
  jc::test::TempFolder programFolder, bareFolder;
  service.Hold();
  RunningProgram program(programFolder.path(), JC_PROGRAM, jc::kMainWindowClass,
                         service.AddressSetting());
  RunningProgram bare(bareFolder.path(), JC_BARE_PROGRAM, "JiChuangBareWindow", "");
  if (!program.window() || !bare.window()) {
    std::fprintf(stderr, "a program did not start\n");
    return 1;
  }

  const std::string programPid = UnixProcessIn(programFolder.path());
  const std::string barePid = UnixProcessIn(bareFolder.path());
  if (programPid.empty() || barePid.empty()) {
    std::fprintf(stderr, "the Linux processes were not found under Z:\\proc\n");
    return 1;
  }

  // 1. Responsiveness while the first job waits 10 s for the service.
  WaitFor([&] { return !service.Requests().empty(); });
  DWORD worstProgram = 0, worstBare = 0, began = ::GetTickCount();
  int slowProgram = 0, samples = 0;
  while (::GetTickCount() - began < 10000) {
    DWORD trip = RoundTripMs(program.window());
    if (trip >= 50) {
      ++slowProgram;
      std::printf("slow round trip: %lu ms at %lu ms\n", trip, ::GetTickCount() - began);
    }
    worstProgram = std::max(worstProgram, trip);
    worstBare = std::max(worstBare, RoundTripMs(bare.window()));
    ++samples;
    ::Sleep(20);
  }
  service.Release();
  WaitFor([&] { return Lines(program) >= 2; });
  ::Sleep(500);

  // 2. Idle cost over 60 s.
  double programCpu = CpuSeconds(programPid), bareCpu = CpuSeconds(barePid);
  ::Sleep(60000);
  programCpu = CpuSeconds(programPid) - programCpu;
  bareCpu = CpuSeconds(barePid) - bareCpu;

  // 3. Memory after the first job and after the twentieth.
  double programFirst = PrivateMiB(programPid), bareFirst = PrivateMiB(barePid);
  for (size_t job = 2; job <= 20; ++job) {
    WaitFor([&] { return ::IsWindowEnabled(program.Control(jc::kIdUpdateButton)) != FALSE; });
    ::PostMessageA(program.Control(jc::kIdUpdateButton), BM_CLICK, 0, 0);
    WaitFor([&] { return Lines(program) >= 2 * job; });
  }
  ::Sleep(500);
  double programLast = PrivateMiB(programPid), bareLast = PrivateMiB(barePid);

  std::printf("%d round trips sampled, %d of them 50 ms or more\n", samples, slowProgram);
  std::printf("%-44s %12s %12s %10s\n", "figure", "jichuang", "bare window", "goal");
  std::printf("%-44s %12lu %12lu %10s\n", "longest WM_NULL round trip in a held job (ms)",
              worstProgram, worstBare, "< 50");
  std::printf("%-44s %12.3f %12.3f %10s\n", "CPU time over 60 idle seconds (s)", programCpu,
              bareCpu, "< 0.1");
  std::printf("%-44s %12.2f %12.2f\n", "private MiB after the first job", programFirst, bareFirst);
  std::printf("%-44s %12.2f %12.2f\n", "private MiB after 20 jobs", programLast, bareLast);
  std::printf("%-44s %12.2f %12.2f %10s\n", "growth over 19 jobs (MiB)", programLast - programFirst,
              bareLast - bareFirst, "< 2");
  bool met = worstProgram < 50 && programCpu < 0.1 && programLast - programFirst < 2;
  std::printf("%s\n", met ? "all goals met" : "a goal was missed");
  return met ? 0 : 1;
}
