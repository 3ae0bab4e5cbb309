#include "tests/support/scratch_registry_win.h"

#include <sddl.h>

#include <string>

namespace jc::test {

ScratchRegistry::ScratchRegistry()
    : base_("Software\\JiChuangTests\\" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(::GetTickCount())) {
  ::RegCreateKeyA(HKEY_CURRENT_USER, (base_ + "\\machine").c_str(), &roots_.machine);
  ::RegCreateKeyA(HKEY_CURRENT_USER, (base_ + "\\user").c_str(), &roots_.user);
}

ScratchRegistry::~ScratchRegistry() {
  ::RegCloseKey(roots_.machine);
  ::RegCloseKey(roots_.user);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\JiChuangTests");  // when no other test uses it
}

HKEY DeniedRoot() {
  // Not a key handle at all: opening and creating below it fail.
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFFFFF0));
}

bool DenyWriting(HKEY root, const Text& keyPath) {
  HKEY key = nullptr;
  if (::RegCreateKeyA(root, keyPath.c_str(), &key) != ERROR_SUCCESS) return false;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  // Everyone: read and delete, nothing else.
  bool done = ::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KRSD;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr) &&
              ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
  ::LocalFree(descriptor);
  ::RegCloseKey(key);
  return done;
}

RegistryValue ReadRegistryValue(HKEY root, const Text& keyPath, const Text& name) {
  RegistryValue value;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    value.exists = ::RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
                                      reinterpret_cast<BYTE*>(value.data.data()), &size) == ERROR_SUCCESS;
    value.data.resize(size);
  }
  ::RegCloseKey(key);
  return value;
}

bool RegistryKeyExists(HKEY root, const Text& keyPath) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

}  // namespace jc::test
