#include "shell/autostart_win.h"

#include "common/paths_win.h"
#include "common/unique_handle_win.h"
#include "shell/autostart.h"
#include "shell/process_win.h"

namespace jc {
namespace {

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle key) noexcept { ::RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

UniqueRegistryKey OpenForWriting(HKEY root, const Text& keyPath, bool create) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
    return UniqueRegistryKey(key);
  }
  if (create && ::RegCreateKeyA(root, keyPath.c_str(), &key) == ERROR_SUCCESS) {
    return UniqueRegistryKey(key);
  }
  return {};
}

bool WriteValue(HKEY root, const RegistryItem& item, const Text& command) {
  UniqueRegistryKey key = OpenForWriting(root, item.keyPath, true);
  if (!key) return false;
  return ::RegSetValueExA(key.get(), item.valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command.c_str()),
                          static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
}

bool HasValue(HKEY root, const RegistryItem& item) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, item.keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  UniqueRegistryKey owned(key);
  return ::RegQueryValueExA(key, item.valueName.c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

void RemoveValue(HKEY root, const Text& itemText, const RegistryItem& item) {
  bool deleted = false;
  if (UniqueRegistryKey key = OpenForWriting(root, item.keyPath, false)) {
    deleted = ::RegDeleteValueA(key.get(), item.valueName.c_str()) == ERROR_SUCCESS;
  }
  // No value of that name: a subkey of it may stand in its place (fails when it has subkeys).
  if (!deleted) ::RegDeleteKeyA(root, itemText.c_str());
}

}  // namespace

bool SetAutostart(const Text& name, const Text& command, bool remove, const RegistryRoots& roots) {
  const Text itemText = Text(kRunKey) + "\\" + name;
  const RegistryItem item = SplitRegistryItem(itemText);
  if (remove) {
    RemoveValue(roots.machine, itemText, item);
    RemoveValue(roots.user, itemText, item);
  } else if (WriteValue(roots.machine, item, command)) {
    RemoveValue(roots.user, itemText, item);
  } else if (!HasValue(roots.machine, item)) {
    // A machine value that can't be changed (written earlier with more rights) already starts
    // the program; a user value beside it would start it twice.
    WriteValue(roots.user, item, command);
  }
  return false;
}

Text ThisProgramsAutostartCommand() {
  return AutostartCommand(ProgramDirectory(), ProcessNameById(::GetCurrentProcessId()));
}

}  // namespace jc
