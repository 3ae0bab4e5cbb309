// Reliability drills: the real program, started from a folder of its own against the sample
// image service on 127.0.0.1, meets faults of the network, the disk and the process, and a
// long run of updates. After each fault it must be alive and answering, have written both log
// lines of the job, have its update button and tray item enabled again, keep the last good
// image byte for byte and leave the settings file as the user left it.
//
// `make drills` runs every case (JC_DRILLS=full); `make test` runs one case of each family.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "common/file_win.h"
#include "common/paths_win.h"
#include "imaging/gdiplus_win.h"
#include "shell/main_window_win.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "update/service_address.h"
#include "tests/support/png_maker.h"
#include "tests/support/process_figures_win.h"
#include "tests/support/program_checks_win.h"
#include "tests/support/running_program_win.h"
#include "tests/support/sample_service_win.h"
#include "tests/support/temp_folder_win.h"

namespace jc {
namespace {

using test::Misbehaviour;
using test::RunningProgram;
using test::WaitFor;

bool FullDrills() {
  const char* mode = std::getenv("JC_DRILLS");
  return mode && std::string(mode) == "full";
}

// A second good image, unlike the service's own: green instead of blue.
Bytes SecondImage() {
  return test::MakePng(550, 550, [](int x, int y) {
    const int dx = x - 275, dy = y - 275;
    return dx * dx + dy * dy < 250 * 250 ? 0xFF20A040u : 0xFF000000u;
  });
}

class Drill : public testing::Test {
 protected:
  Text Install(const Text& extra = {}) {
    return test::InstallProgram(folder.path(), JC_PROGRAM, ServiceSettings() + extra);
  }
  Text ServiceSettings() const { return test::ServiceSettings(service.AddressSetting()); }
  Text ImageFile() const { return folder.Path("data\\vela.png"); }
  Text SettingsFile() const { return folder.Path("data\\vela.ini"); }
  Text Stored() const { return TextFromBytes(ReadWholeFile(SettingsFile())); }
  // Writes the settings file and makes sure it names `address`: a file that did not land would
  // send the program to its default service on the internet.
  void WriteSettings(const Text& settings, const std::string& address) const {
    ASSERT_TRUE(WriteWholeFile(SettingsFile(), BytesFromText(settings)));
    ASSERT_EQ(ReadIniText(SettingsFile(), kServiceSection, kServiceKey), address);
  }
  static size_t Lines(const RunningProgram& program) { return program.LogLines(kIdLog).size(); }
  static bool ButtonEnabled(const RunningProgram& program) {
    return ::IsWindowEnabled(program.Control(kIdUpdateButton)) != FALSE;
  }

  // Starts the program and waits for its first update to end.
  void StartAndUpdate(std::unique_ptr<RunningProgram>& program, const Text& installed) {
    program = std::make_unique<RunningProgram>(installed, kMainWindowClass);
    ASSERT_NE(program->window(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return Lines(*program) >= 2; }));
    ASSERT_TRUE(WaitFor([&] { return ButtonEnabled(*program); }));
  }

  // One update from the button; true once its two lines are written and the button is back.
  static bool Update(const RunningProgram& program, DWORD timeoutMs = 30000) {
    const size_t before = Lines(program);
    if (!WaitFor([&] { return ButtonEnabled(program); })) return false;
    ::PostMessageA(program.Control(kIdUpdateButton), BM_CLICK, 0, 0);
    return WaitFor([&] { return Lines(program) >= before + 2; }, timeoutMs) &&
           WaitFor([&] { return ButtonEnabled(program); });
  }

  // The checks after a fault, then one good update that must store `next`.
  void ExpectRecovered(const RunningProgram& program, size_t lines, const Bytes& image,
                       const Text& settings, const Bytes& next) {
    EXPECT_EQ(program.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE)) << "the program ended";
    EXPECT_TRUE(test::WindowAnswers(program.window())) << "the window does not answer";
    std::vector<Text> log = program.LogLines(kIdLog);
    ASSERT_EQ(log.size(), lines);
    EXPECT_EQ(test::Shape(log[lines - 2]), test::kStartShape);
    EXPECT_EQ(test::Shape(log[lines - 1]), test::kDoneShape);
    EXPECT_TRUE(WaitFor([&] { return ButtonEnabled(program); }));
    EXPECT_TRUE(test::TrayUpdateItemEnabled(program));
    EXPECT_TRUE(ReadWholeFile(ImageFile()) == image) << "not the last good image";
    EXPECT_FALSE(FileExists(ImageFile() + ".tmp"));
    EXPECT_EQ(Stored(), settings);
    // The timer is armed for ten minutes again, not running a job at once ...
    const size_t requests = service.Requests().size();
    ::Sleep(500);
    EXPECT_EQ(service.Requests().size(), requests);
    EXPECT_EQ(program.LogLines(kIdLog).size(), lines);
    // ... and the next update works.
    service.SetMisbehaviour(Misbehaviour::kNone);
    service.SetImage(next);
    EXPECT_TRUE(Update(program));
    EXPECT_TRUE(ReadWholeFile(ImageFile()) == next) << "the next update did not store its image";
  }

  test::TempFolder folder;
  test::SampleService service;
  const Bytes first = service.Image();
  const Bytes second = SecondImage();
};

// ---- Network -------------------------------------------------------------------------------

struct NetworkCase {
  const char* name;
  Misbehaviour misbehaviour;
  bool refused;    // the service address names a port nobody listens on
  bool storesNew;  // the image still comes whole, so it replaces the old one
  DWORD timeoutMs;
};

class NetworkDrill : public Drill, public testing::WithParamInterface<NetworkCase> {};

TEST_P(NetworkDrill, Recovers) {
  const NetworkCase& c = GetParam();
  std::unique_ptr<RunningProgram> program;
  ASSERT_NO_FATAL_FAILURE(StartAndUpdate(program, Install()));
  ASSERT_TRUE(ReadWholeFile(ImageFile()) == first);

  if (c.refused) {
    const std::string nobody = "127.0.0.1:" + std::to_string(test::LoopbackServer::UnusedPort());
    ASSERT_NO_FATAL_FAILURE(WriteSettings(test::ServiceSettings(nobody), nobody));
  }
  service.SetMisbehaviour(c.misbehaviour);
  service.SetImage(second);
  ASSERT_TRUE(Update(*program, c.timeoutMs)) << "the job did not end";
  if (c.refused) {
    ASSERT_NO_FATAL_FAILURE(WriteSettings(ServiceSettings(), service.AddressSetting()));
  }
  ExpectRecovered(*program, 4, c.storesNew ? second : first, ServiceSettings(),
                  c.storesNew ? first : second);
}

std::vector<NetworkCase> NetworkCases() {
  std::vector<NetworkCase> cases = {{"RefusedPort", Misbehaviour::kNone, true, false, 30000}};
  for (size_t i = 0; i < test::kMisbehaviourCount; ++i) {
    const Misbehaviour m = test::kMisbehaviours[i].misbehaviour;
    const bool waitsForTheTimeout = m == Misbehaviour::kSilent || m == Misbehaviour::kHalfHeaders;
    const bool storesNew = m == Misbehaviour::kHugeHeaders || m == Misbehaviour::kManyCookies;
    cases.push_back({test::kMisbehaviours[i].name, m, false, storesNew,
                     waitsForTheTimeout ? 150000u : 60000u});
  }
  return cases;
}

std::string CaseName(const testing::TestParamInfo<NetworkCase>& info) {
  std::string name;
  for (const char* p = info.param.name; *p; ++p) {
    if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Faults, NetworkDrill, testing::ValuesIn(NetworkCases()), CaseName);

// ---- Disk ----------------------------------------------------------------------------------

class DiskDrill : public Drill {};

// Starts a Linux command from the Windows side. Wine starts Unix programs too, but cannot wait
// for them: callers watch for the command's effect.
bool StartUnix(const std::string& commandLine) {
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION info = {};
  std::string command = commandLine;
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hProcess);
  ::CloseHandle(info.hThread);
  return true;
}

// The Linux path of a Windows path, through Wine's own export.
std::string UnixPath(const Text& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (!convert) return {};
  std::wstring wide(path.begin(), path.end());  // the test folders are ASCII
  char* unix = convert(wide.c_str());
  std::string result = unix ? unix : "";
  if (unix) ::HeapFree(::GetProcessHeap(), 0, unix);
  return result;
}

// Whether a new file can be made in `folder` (made and deleted again).
bool CanCreateIn(const Text& folder) {
  const Text probe = folder + "\\probe.tmp";
  if (!WriteWholeFile(probe, {})) return false;
  ::DeleteFileA(probe.c_str());
  return true;
}

// Makes `folder` immutable or not, and waits until that shows; false when it did not.
bool SetImmutable(const Text& folder, bool immutable) {
  const std::string unixPath = UnixPath(folder);
  if (unixPath.empty() ||
      !StartUnix(std::string("/usr/bin/chattr ") + (immutable ? "+i \"" : "-i \"") + unixPath + "\"")) {
    return false;
  }
  return WaitFor([&] { return CanCreateIn(folder) != immutable; }, 5000);
}

// Root ignores permission bits, so the folder is made immutable: nothing can be created,
// renamed or deleted in it, as in a folder the user may not write.
TEST_F(DiskDrill, ReadOnlyDataFolder) {
  std::unique_ptr<RunningProgram> program;
  ASSERT_NO_FATAL_FAILURE(StartAndUpdate(program, Install()));
  struct Unlock {  // on every way out, so the folder can be removed
    Text folder;
    ~Unlock() {
      if (!SetImmutable(folder, false)) ADD_FAILURE() << "left immutable: " << folder;
    }
  } unlock{folder.Path("data")};
  // A drill that quietly skipped itself would hide a broken drill.
  ASSERT_TRUE(SetImmutable(folder.Path("data"), true)) << "the folder could not be made immutable";
  service.SetImage(second);
  const bool ended = Update(*program);
  ::PostMessageA(program->Control(kIdBackgroundBox), BM_CLICK, 0, 0);  // a setting, meanwhile
  EXPECT_TRUE(WaitFor([&] { return test::IsChecked(program->Control(kIdBackgroundBox)); }));
  ::PostMessageA(program->Control(kIdBackgroundBox), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !test::IsChecked(program->Control(kIdBackgroundBox)); }));
  ASSERT_TRUE(SetImmutable(folder.Path("data"), false));
  ASSERT_TRUE(ended);
  // Windows rewrites the settings file in place, which the folder still allows: the change
  // the user made is there, after the service address.
  const Text expected = ServiceSettings() + "[" + Text(kSettingsSection) + "]\r\n" +
                        Text(texts::kBackground) + "=" + Text(kOffText) + "\r\n";
  ExpectRecovered(*program, 4, first, expected, second);
}

TEST_F(DiskDrill, ImageFileHeldOpenByAnotherProgram) {
  std::unique_ptr<RunningProgram> program;
  ASSERT_NO_FATAL_FAILURE(StartAndUpdate(program, Install()));
  service.SetImage(second);
  {
    UniqueFileHandle held(::CreateFileA(ImageFile().c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_TRUE(Update(*program));
  }
  ExpectRecovered(*program, 4, first, ServiceSettings(), second);
}

// The user deletes data\ while the program runs, here while an update waits for the service
// (its address read already): the update makes the folder again and stores its image there.
TEST_F(DiskDrill, DataFolderDeleted) {
  std::unique_ptr<RunningProgram> program;
  ASSERT_NO_FATAL_FAILURE(StartAndUpdate(program, Install()));
  const Text settings = Stored();
  service.SetImage(second);
  service.Hold();
  ::PostMessageA(program->Control(kIdUpdateButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return service.Requests().size() == 3; }));
  test::RemoveTree(folder.Path("data"));
  ASSERT_FALSE(FileExists(SettingsFile()));
  service.Release();
  ASSERT_TRUE(WaitFor([&] { return Lines(*program) >= 4 && ButtonEnabled(*program); }));
  EXPECT_TRUE(ReadWholeFile(ImageFile()) == second) << "stored in the folder made anew";
  // The settings went with the folder; the user puts the service address back.
  ASSERT_NO_FATAL_FAILURE(WriteSettings(settings, service.AddressSetting()));
  ExpectRecovered(*program, 4, second, settings, first);
}

TEST_F(DiskDrill, SettingsFileOfGarbageOrHugeText) {
  std::mt19937 random(7);
  Text garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() & 0xFF);
  const struct {
    const char* name;
    Text settings;
  } cases[] = {
      {"garbage bytes", garbage + "\r\n" + ServiceSettings() + garbage},
      {"1 MiB of text", "[" + Text(kSettingsSection) + "]\r\n" + Text(texts::kWallpaper) + "=" +
                            Text(1u << 20, 'x') + "\r\n" + ServiceSettings()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempFolder own;
    const Text installed = test::InstallProgram(own.path(), JC_PROGRAM, c.settings);
    // The program must still find the sample service in the file, or it would go elsewhere.
    ASSERT_EQ(ReadIniText(own.Path("data\\vela.ini"), kServiceSection, kServiceKey),
              service.AddressSetting());
    RunningProgram program(installed, kMainWindowClass);
    ASSERT_NE(program.window(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return Lines(program) >= 2; }));
    EXPECT_TRUE(WaitFor([&] { return ButtonEnabled(program); }));
    std::vector<Text> log = program.LogLines(kIdLog);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(test::Shape(log[1]), test::kDoneShape);
    EXPECT_TRUE(ReadWholeFile(own.Path("data\\vela.png")) == service.Image());
    EXPECT_FALSE(test::IsChecked(program.Control(kIdWallpaperBox)));
    EXPECT_TRUE(test::WindowAnswers(program.window()));
    EXPECT_TRUE(Update(program)) << "the next update";
    EXPECT_EQ(TextFromBytes(ReadWholeFile(own.Path("data\\vela.ini"))), c.settings);
  }
}

// ---- Process -------------------------------------------------------------------------------

// The program ended by TerminateProcess at random moments of its updates: the image file is
// always the old image or the new one, whole. The images are large (16 MiB), so that writing
// them takes long enough to be hit.
TEST_F(Drill, KilledDuringUpdatesLeavesAWholeImage) {
  const int jobs = FullDrills() ? 50 : 5;
  GdiplusSession gdiplus;  // to decode what is left
  auto large = [](std::uint32_t colour) {
    return test::MakePng(2048, 2048, [colour](int x, int y) { return (x ^ y) & 64 ? colour : 0xFF000000u; });
  };
  const Bytes images[2] = {large(0xFF2060C0u), large(0xFF20A040u)};
  const Text installed = Install();

  // One whole update first, to learn how long an update takes.
  service.SetImage(images[1]);
  DWORD updateMs = 0;
  {
    RunningProgram program(installed, kMainWindowClass);
    ASSERT_TRUE(WaitFor([&] { return Lines(program) >= 1; }));
    const DWORD began = ::GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return Lines(program) >= 2; }, 30000));
    updateMs = ::GetTickCount() - began;
  }
  ASSERT_TRUE(ReadWholeFile(ImageFile()) == images[1]);

  std::mt19937 random(20261211);
  int midUpdate = 0, midWrite = 0;
  for (int job = 0; job < jobs; ++job) {
    SCOPED_TRACE(job);
    ::DeleteFileA((ImageFile() + ".tmp").c_str());  // so that what is left counts for this kill
    const Bytes before = ReadWholeFile(ImageFile());
    const Bytes& served = images[job % 2];
    service.SetImage(served);
    RunningProgram program(installed, kMainWindowClass);
    ASSERT_NE(program.window(), nullptr);
    if (job % 2) {
      // Any moment of the update.
      ASSERT_TRUE(WaitFor([&] { return Lines(program) >= 1; }));
      ::Sleep(std::uniform_int_distribution<DWORD>(0, updateMs + updateMs / 4)(random));
    } else {
      // A moment of the write: just after the first change in data\ during the update.
      ASSERT_TRUE(WaitFor([&] { return Lines(program) >= 1; }));
      HANDLE change = ::FindFirstChangeNotificationA(
          folder.Path("data").c_str(), FALSE,
          FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
      ::WaitForSingleObject(change, 30000);
      ::FindCloseChangeNotification(change);
      ::Sleep(std::uniform_int_distribution<DWORD>(0, 2)(random));
    }
    const bool inUpdate = Lines(program) == 1;
    ::TerminateProcess(program.process(), 9);
    ASSERT_EQ(::WaitForSingleObject(program.process(), 10000), WAIT_OBJECT_0);
    midUpdate += inUpdate;
    midWrite += FileExists(ImageFile() + ".tmp");  // the move had not happened yet
    const Bytes after = ReadWholeFile(ImageFile());
    EXPECT_TRUE(after == before || after == served) << "a torn image file";
    EXPECT_TRUE(DecodesAsImage(after));
  }
  std::printf("[ drill ] %d kills (an update takes %lu ms): %d during an update, %d while writing "
              "the image file\n", jobs, updateMs, midUpdate, midWrite);
  if (FullDrills()) EXPECT_GT(midWrite, 0) << "no kill came while the image file was written";
  // A start after all that still updates and stores.
  service.SetImage(second);
  RunningProgram program(installed, kMainWindowClass);
  ASSERT_TRUE(WaitFor([&] { return Lines(program) >= 2; }, 30000));
  EXPECT_TRUE(WaitFor([&] { return ReadWholeFile(ImageFile()) == second; }));
  EXPECT_FALSE(FileExists(ImageFile() + ".tmp"));
}

// ---- Soak ----------------------------------------------------------------------------------

// Updates back to back through the button, good ones alternating with every misbehaviour that
// answers at once; the process's handles, threads and private memory after the last must stay
// near those after the tenth.
TEST_F(Drill, SoakKeepsResourcesFlat) {
  const int jobs = FullDrills() ? 500 : 30;
  std::vector<Misbehaviour> faults;
  for (size_t i = 0; i < test::kMisbehaviourCount; ++i) {
    const Misbehaviour m = test::kMisbehaviours[i].misbehaviour;
    if (m != Misbehaviour::kSilent && m != Misbehaviour::kHalfHeaders) faults.push_back(m);
  }
  std::unique_ptr<RunningProgram> program;
  ASSERT_NO_FATAL_FAILURE(StartAndUpdate(program, Install()));
  const std::string unixPid = test::UnixProcessIn(folder.path());
  ASSERT_FALSE(unixPid.empty());

  test::HandleFigures tenth;
  double tenthMiB = 0;
  Bytes lastGood = ReadWholeFile(ImageFile());
  for (int job = 1; job <= jobs; ++job) {
    const bool good = job % 2 == 1;
    const Misbehaviour fault = good ? Misbehaviour::kNone : faults[(job / 2) % faults.size()];
    service.SetMisbehaviour(fault);
    service.SetImage(job % 4 == 1 ? second : first);
    ASSERT_TRUE(Update(*program, 60000)) << "job " << job;
    if (good || fault == Misbehaviour::kHugeHeaders || fault == Misbehaviour::kManyCookies) {
      lastGood = service.Image();
    }
    ASSERT_TRUE(ReadWholeFile(ImageFile()) == lastGood) << "job " << job;
    if (job % 100 == 0) {
      std::printf("[ drill ] after job %d: %.2f MiB private\n", job, test::PrivateMiB(unixPid));
    }
    if (job == 10) {
      tenth = test::HandleFiguresOf(program->processId());
      tenthMiB = test::PrivateMiB(unixPid);
    }
  }
  const test::HandleFigures last = test::HandleFiguresOf(program->processId());
  const double lastMiB = test::PrivateMiB(unixPid);
  ASSERT_GT(tenth.handles, 0u) << "the handle count could not be read";
  ASSERT_GT(last.handles, 0u);
  ASSERT_GT(tenthMiB, 0.0) << "the private memory could not be read";
  ASSERT_GT(lastMiB, 0.0);
  std::printf("[ drill ] after job 10: %lu handles, %lu threads, %.2f MiB private\n", tenth.handles,
              tenth.threads, tenthMiB);
  std::printf("[ drill ] after job %d: %lu handles, %lu threads, %.2f MiB private\n", jobs,
              last.handles, last.threads, lastMiB);
  EXPECT_EQ(program->LogLines(kIdLog).size(), static_cast<size_t>(2 * (jobs + 1)));
  EXPECT_LE(last.handles, tenth.handles + 10);
  EXPECT_LE(last.threads, tenth.threads + 2);
  // The heap's high-water mark moves with the large answers (it stayed between 10 and 13 MiB
  // over 500 jobs); a leak of 10 KiB a job would pass 4 MiB before the end.
  EXPECT_LT(lastMiB, tenthMiB + 4.0);
  EXPECT_TRUE(test::WindowAnswers(program->window()));
}

}  // namespace
}  // namespace jc
