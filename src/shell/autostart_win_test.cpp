// Start with Windows against registry roots of the test's own, and the process lookups.
#include "shell/autostart_win.h"

#include <gtest/gtest.h>

#include "common/gbk.h"
#include "common/paths_win.h"
#include "shell/autostart.h"
#include "shell/process_win.h"
#include "shell/single_instance_win.h"
#include "tests/support/scratch_registry_win.h"

namespace jc {
namespace {

using test::ReadRegistryValue;
using test::RegistryKeyExists;

const Text kName(gbk::kProgramName);                     // "霁窗"
const Text kRun(kRunKey);
const Text kNameKey = kRun + "\\" + kName;               // a subkey bearing the value's name

class AutostartTest : public testing::Test {
 protected:
  test::ScratchRegistry registry;
  const RegistryRoots& roots = registry.roots();

  test::RegistryValue Value(HKEY root) const { return ReadRegistryValue(root, kRun, kName); }
};

TEST_F(AutostartTest, WritingTwiceLeavesOneValueWithTheSecondCommand) {
  SetAutostart(kName, "C:\\Tools\\first.exe", false, roots);
  const Text quoted = "\"C:\\Program Files\\Tools\\app.exe\"";
  SetAutostart(kName, quoted, false, roots);
  test::RegistryValue value = Value(roots.machine);
  ASSERT_TRUE(value.exists);
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(value.data, quoted + '\0');

  HKEY run = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(roots.machine, kRun.c_str(), 0, KEY_READ, &run), ERROR_SUCCESS);
  DWORD values = 0;
  ::RegQueryInfoKeyA(run, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
  ::RegCloseKey(run);
  EXPECT_EQ(values, 1u);
  EXPECT_FALSE(Value(roots.user).exists) << "written where it is allowed, once";
}

TEST_F(AutostartTest, RemovingTakesTheValueAwayAndLeavesOthers) {
  HKEY run = nullptr;
  ::RegCreateKeyA(roots.machine, kRun.c_str(), &run);
  ::RegSetValueExA(run, "Other", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  ::RegCloseKey(run);

  SetAutostart(kName, "C:\\Tools\\app.exe", false, roots);
  ASSERT_TRUE(Value(roots.machine).exists);
  SetAutostart(kName, "C:\\Tools\\app.exe", true, roots);
  EXPECT_FALSE(Value(roots.machine).exists);
  SetAutostart(kName, "C:\\Tools\\app.exe", true, roots);  // a missing value: nothing changes
  EXPECT_FALSE(Value(roots.machine).exists);
  EXPECT_TRUE(ReadRegistryValue(roots.machine, kRun, "Other").exists);
  EXPECT_TRUE(RegistryKeyExists(roots.machine, kRun));
}

TEST_F(AutostartTest, RemovingDeletesASubkeyOfTheNameWhenNoValueExists) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyA(roots.machine, kNameKey.c_str(), &key), ERROR_SUCCESS);
  ::RegCloseKey(key);
  SetAutostart(kName, "", true, roots);
  EXPECT_FALSE(RegistryKeyExists(roots.machine, kNameKey));
  EXPECT_TRUE(RegistryKeyExists(roots.machine, kRun));

  // One with subkeys of its own stays.
  ASSERT_EQ(::RegCreateKeyA(roots.machine, (kNameKey + "\\inner").c_str(), &key), ERROR_SUCCESS);
  ::RegCloseKey(key);
  SetAutostart(kName, "", true, roots);
  EXPECT_TRUE(RegistryKeyExists(roots.machine, kNameKey + "\\inner"));
}

TEST_F(AutostartTest, DeniedMachineRootFallsBackToTheUser) {
  const RegistryRoots denied{test::DeniedRoot(), roots.user};
  SetAutostart(kName, "C:\\Tools\\app.exe", false, denied);
  test::RegistryValue value = Value(roots.user);
  ASSERT_TRUE(value.exists);
  EXPECT_EQ(value.data, Text("C:\\Tools\\app.exe") + '\0');
  SetAutostart(kName, "C:\\Tools\\app.exe", true, denied);
  EXPECT_FALSE(Value(roots.user).exists);
}

// As for a normal user on Windows: the Run key opens for reading only and takes no values.
TEST_F(AutostartTest, ReadOnlyMachineKeyFallsBackToTheUser) {
  ASSERT_TRUE(test::DenyWriting(roots.machine, kRun));
  HKEY probe = nullptr;
  ASSERT_NE(::RegOpenKeyExA(roots.machine, kRun.c_str(), 0, KEY_WRITE, &probe), ERROR_SUCCESS)
      << "the key must refuse writing for this test to mean anything";
  SetAutostart(kName, "C:\\Tools\\app.exe", false, roots);
  EXPECT_FALSE(Value(roots.machine).exists);
  EXPECT_TRUE(Value(roots.user).exists);
  SetAutostart(kName, "C:\\Tools\\app.exe", true, roots);
  EXPECT_FALSE(Value(roots.user).exists);
}

TEST_F(AutostartTest, NoUserValueBesideAMachineValueThatCannotChange) {
  SetAutostart(kName, "C:\\Old\\app.exe", false, roots);  // written with more rights
  ASSERT_TRUE(test::DenyWriting(roots.machine, kRun));
  SetAutostart(kName, "C:\\Tools\\app.exe", false, roots);
  EXPECT_TRUE(Value(roots.machine).exists);
  EXPECT_FALSE(Value(roots.user).exists) << "Windows would start the program twice";
}

TEST_F(AutostartTest, MachineValueReplacesAnEarlierUserValueAndRemovalClearsBoth) {
  SetAutostart(kName, "C:\\Tools\\app.exe", false, {test::DeniedRoot(), roots.user});
  ASSERT_TRUE(Value(roots.user).exists);
  SetAutostart(kName, "C:\\Tools\\app.exe", false, roots);
  EXPECT_TRUE(Value(roots.machine).exists);
  EXPECT_FALSE(Value(roots.user).exists) << "Windows would start the program twice";

  HKEY run = nullptr;  // a value under each root, as an older copy might have left
  ::RegCreateKeyA(roots.user, kRun.c_str(), &run);
  ::RegSetValueExA(run, kName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  ::RegCloseKey(run);
  SetAutostart(kName, "C:\\Tools\\app.exe", true, roots);
  EXPECT_FALSE(Value(roots.machine).exists);
  EXPECT_FALSE(Value(roots.user).exists);
}

TEST(ProcessTest, ThisProgramsCommandNamesTheRunningFile) {
  EXPECT_EQ(ThisProgramsAutostartCommand(), AutostartCommand(ProgramDirectory(), ProgramFileName()));
  EXPECT_EQ(ProcessNameById(::GetCurrentProcessId()), ProgramFileName());
  EXPECT_EQ(ProgramFileName(), "shell_win_tests.exe");
}

TEST(ProcessTest, UnusedIdentifierHasNoName) {
  // Identifiers are multiples of four; this one is not, so no process can have it.
  EXPECT_EQ(ProcessNameById(0xFFFFFFFF - 2), "");
}

TEST(ProcessTest, FindsProcessesIgnoringLetterCase) {
  const DWORD self = ::GetCurrentProcessId();
  EXPECT_EQ(FindProcessId("shell_win_tests.exe"), self);
  EXPECT_EQ(FindProcessId("SHELL_WIN_Tests.EXE"), self);
  EXPECT_EQ(FindProcessId("shell_win_tests.exe", self), 0u) << "the caller is passed over";
  EXPECT_EQ(FindProcessId("shell_win_tests"), 0u);
  EXPECT_EQ(FindProcessId(""), 0u);
}

TEST(ProcessTest, WindowSearchFindsOnlyVisibleWindowsAndGivesUp) {
  HWND window = ::CreateWindowExA(0, "STATIC", "probe", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const DWORD began = ::GetTickCount();
  EXPECT_EQ(FindProcessWindow(::GetCurrentProcessId(), 300), nullptr);
  const DWORD waited = ::GetTickCount() - began;
  EXPECT_GE(waited, 300u);
  EXPECT_LT(waited, 3000u);
  ::ShowWindow(window, SW_SHOWMINNOACTIVE);
  EXPECT_EQ(FindProcessWindow(::GetCurrentProcessId(), 300), window);
  BringWindowToFront(window);
  EXPECT_FALSE(::IsIconic(window));
  EXPECT_TRUE(::IsWindowVisible(window));
  ::DestroyWindow(window);
}

TEST(SingleInstanceTest, FirstInstanceCreatesTheEventAndGoesOn) {
  const Text name = "JiChuangTestInstance" + std::to_string(::GetCurrentProcessId());
  ASSERT_EQ(::OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()), nullptr);
  EnsureSingleInstance(name, "unused", MB_ICONHAND);  // returns: no other instance
  HANDLE event = ::OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str());
  EXPECT_NE(event, nullptr);
  ::CloseHandle(event);
}

}  // namespace
}  // namespace jc
