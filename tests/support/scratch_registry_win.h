// Two registry keys of a test's own under HKCU, standing in for the machine and user roots;
// removed with everything below them at the end.
#pragma once

#include <windows.h>

#include "common/text.h"
#include "shell/autostart_win.h"

namespace jc::test {

class ScratchRegistry {
 public:
  ScratchRegistry();
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  const RegistryRoots& roots() const { return roots_; }

 private:
  Text base_;
  RegistryRoots roots_;
};

// A root that can be neither opened nor written below.
HKEY DeniedRoot();

// Makes `root`\`keyPath` (created when missing) readable and deletable but not writable, as
// HKLM's Run key is for a normal user: it opens for reading only, and values can't be set.
bool DenyWriting(HKEY root, const Text& keyPath);

// The REG_SZ data of value `name` under `root`\`keyPath` with its terminating NUL, or nothing
// (and `exists` false) when there is no such value.
struct RegistryValue {
  bool exists = false;
  DWORD type = 0;
  Text data;  // every byte, the NUL included
};
RegistryValue ReadRegistryValue(HKEY root, const Text& keyPath, const Text& name);

bool RegistryKeyExists(HKEY root, const Text& keyPath);

}  // namespace jc::test
