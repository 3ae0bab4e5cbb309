// The entry point of every Windows test binary: GoogleTest's, plus a crash report. A test that
// crashes prints where and ends at once with a failure, instead of waiting for a debugger.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "crash: exception 0x%08lX at %p\n",
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress);
#if defined(_WIN64)
  CONTEXT context = *info->ContextRecord;
  for (int frame = 0; frame < 24 && context.Rip; ++frame) {
    std::fprintf(stderr, "  frame %2d: %p\n", frame, reinterpret_cast<void*>(context.Rip));
    DWORD64 imageBase = 0;
    PRUNTIME_FUNCTION function = ::RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
    if (!function) {  // a leaf function: the return address is on top of the stack
      context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
      context.Rsp += 8;
      continue;
    }
    void* handlerData = nullptr;
    DWORD64 establisher = 0;
    ::RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context,
                       &handlerData, &establisher, nullptr);
  }
#endif
  std::fflush(stderr);
  ::TerminateProcess(::GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  ::SetUnhandledExceptionFilter(ReportCrash);
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
