// The sample image service as a program of its own, for `make demo`: serves on 127.0.0.1 until
// it is ended, and writes the port it chose into the file named by its argument.
#include <windows.h>

#include <cstdio>

#include "tests/support/sample_service_win.h"

int main(int argc, char** argv) {
  jc::test::SampleService service;
  if (argc > 1) {
    if (FILE* file = std::fopen(argv[1], "w")) {
      std::fprintf(file, "%d\n", service.port());
      std::fclose(file);
    }
  }
  std::printf("sample image service on 127.0.0.1:%d\n", service.port());
  std::fflush(stdout);
  for (;;) ::Sleep(INFINITE);
}
