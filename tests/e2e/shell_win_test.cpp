// The program's life from start to end, driven from another process as a user would: starts,
// a second start, the tray, the settings, and every way of closing. The driver sends tray
// notifications exactly as the tray does, with the window's callback message and icon id
// (tests/support/program_checks_win.h).
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <future>
#include <thread>

#include "common/file_win.h"
#include "common/gbk.h"
#include "common/paths_win.h"
#include "shell/autostart.h"
#include "shell/main_window_win.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "tests/support/program_checks_win.h"
#include "tests/support/running_program_win.h"
#include "tests/support/sample_service_win.h"
#include "tests/support/scratch_registry_win.h"
#include "tests/support/temp_folder_win.h"

namespace jc {
namespace {

using test::ChooseTrayItem;
using test::IsChecked;
using test::RunningProgram;
using test::Tray;
using test::TrayIconShown;
using test::WaitFor;
using Wait = RunningProgram::Wait;

const Text kSettingsHeader = "[" + Text(kSettingsSection) + "]\r\n";
Text Setting(std::string_view key, std::string_view value) {
  return Text(key) + "=" + Text(value) + "\r\n";
}

bool IsDirectory(const Text& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Share of the pixels on screen inside `control` that are plainly red, as in the stop icon.
double RedShare(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  HDC screen = ::GetDC(nullptr);
  int red = 0, all = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      COLORREF c = ::GetPixel(screen, x, y);
      ++all;
      if (GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100) ++red;
    }
  }
  ::ReleaseDC(nullptr, screen);
  return all ? static_cast<double>(red) / all : 0;
}

// The visible icon control of a message box that shows an icon, or null.
HWND VisibleIcon(HWND box) {
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = {};
    ::GetClassNameA(child, name, sizeof name);
    if (Text(name) == "Static" && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        ::IsWindowVisible(child) && ::SendMessageA(child, STM_GETICON, 0, 0)) {
      return child;
    }
  }
  return nullptr;
}

// A window of the driver's own, brought to the front, so "comes to the front" means something.
class DriverWindow {
 public:
  DriverWindow() {
    hwnd_ = ::CreateWindowExA(0, "STATIC", "driver", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                              300, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(hwnd_);
    Pump();
  }
  ~DriverWindow() { ::DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  static void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }

 private:
  HWND hwnd_;
};

class ShellTest : public testing::Test {
 protected:
  // Installs the program with settings pointing at the sample service, plus `extra`.
  Text Install(const Text& extra = {}) {
    return test::InstallProgram(folder.path(), JC_PROGRAM,
                                test::ServiceSettings(service.AddressSetting()) + extra);
  }
  Text SettingsFile() const { return folder.Path("data\\vela.ini"); }
  Text Stored() const { return TextFromBytes(ReadWholeFile(SettingsFile())); }
  Text StoredSetting(std::string_view key) const {
    return ReadIniText(SettingsFile(), kSettingsSection, key, "(none)");
  }
  static test::RegistryValue RunValue() {
    return test::ReadRegistryValue(HKEY_LOCAL_MACHINE, Text(kRunKey), Text(gbk::kProgramName));
  }

  static HWND WaitForDialog(const RunningProgram& program, std::string_view caption) {
    HWND box = nullptr;
    WaitFor([&] { return (box = program.FindDialog(Text(caption))) && ::IsWindowVisible(box); });
    return box;
  }
  // Waits for the close question, checks it, and answers it.
  static void AnswerCloseQuestion(const RunningProgram& program, int answer) {
    HWND box = WaitForDialog(program, texts::kQuestionCaption);
    ASSERT_NE(box, nullptr) << "no close question";
    EXPECT_EQ(test::MessageBoxText(box), texts::kCloseQuestion);
    EXPECT_EQ(VisibleIcon(box), nullptr) << "the question has no icon";
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    ::PostMessageA(box, WM_COMMAND, answer, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  }
  static size_t LogLines(const RunningProgram& program) { return program.LogLines(kIdLog).size(); }

  // The program writes the prefix's real Run key: never leave a value behind.
  ~ShellTest() override {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      HKEY run = nullptr;
      if (::RegOpenKeyExA(root, Text(kRunKey).c_str(), 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        ::RegDeleteValueA(run, Text(gbk::kProgramName).c_str());
        ::RegCloseKey(run);
      }
    }
  }

  test::TempFolder folder;
  test::SampleService service;
};

TEST_F(ShellTest, FirstStartMakesTheDataFolderAndStoresNothing) {
  const Text program = test::InstallProgram(folder.path(), JC_PROGRAM);
  ASSERT_FALSE(IsDirectory(folder.Path("data")));
  // The program makes data\ before it arms its first update 100 ms later: hold its thread the
  // moment data\ appears and give it the sample service, so no request leaves this machine.
  HANDLE change = ::FindFirstChangeNotificationA(folder.path().c_str(), FALSE,
                                                 FILE_NOTIFY_CHANGE_DIR_NAME);
  ASSERT_NE(change, INVALID_HANDLE_VALUE);
  RunningProgram running(program, kMainWindowClass, Wait::kNothing);
  const DWORD began = ::GetTickCount();
  while (!IsDirectory(folder.Path("data")) && ::GetTickCount() - began < 15000) {
    ::WaitForSingleObject(change, 100);
    ::FindNextChangeNotification(change);
  }
  ::SuspendThread(running.mainThread());
  ::FindCloseChangeNotification(change);
  ASSERT_TRUE(IsDirectory(folder.Path("data")));
  const Text written = test::ServiceSettings(service.AddressSetting());
  WriteWholeFile(SettingsFile(), BytesFromText(written));
  ::ResumeThread(running.mainThread());

  ASSERT_TRUE(running.WaitForWindow(kMainWindowClass, true));
  HWND window = running.window();
  RECT outer;
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2);
  EXPECT_EQ(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2);
  for (int box : {kIdWallpaperBox, kIdAutostartBox, kIdBackgroundBox}) {
    EXPECT_FALSE(IsChecked(::GetDlgItem(window, box))) << box;
  }
  EXPECT_TRUE(TrayIconShown(window));
  ASSERT_TRUE(WaitFor([&] { return LogLines(running) >= 2; }));
  EXPECT_EQ(service.Requests().size(), 2u) << "the first update reached the sample service";
  EXPECT_EQ(Stored(), written) << "starting writes no setting";
}

TEST_F(ShellTest, SecondStartSaysSoAndBringsTheFirstToTheFront) {
  const Text program = Install();
  RunningProgram first(program, kMainWindowClass);
  ASSERT_NE(first.window(), nullptr);
  DriverWindow driver;
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == driver.hwnd(); }, 5000));

  RunningProgram second(program, kMainWindowClass, Wait::kNothing);
  HWND box = WaitForDialog(second, texts::kReminderCaption);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(test::MessageBoxText(box), texts::kAlreadyRunning);
  HWND icon = VisibleIcon(box);
  ASSERT_NE(icon, nullptr) << "the message has an icon";
  EXPECT_TRUE(WaitFor([&] { return RedShare(icon) > 0.15; }, 5000)) << "the stop icon is red";
  EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(::GetDlgItem(box, IDCANCEL), nullptr);
  EXPECT_EQ(::GetDlgItem(box, IDNO), nullptr);
  HWND secondWindow = second.FindWindowOfClass(kMainWindowClass);
  EXPECT_FALSE(secondWindow && ::IsWindowVisible(secondWindow)) << "the second window never shows";
  EXPECT_FALSE(secondWindow && TrayIconShown(secondWindow)) << "nor its tray icon";

  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(second.WaitForExit(10000), 0u);
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == first.window(); }, 5000));
  EXPECT_TRUE(::IsWindowVisible(first.window()));
  EXPECT_FALSE(::IsIconic(first.window()));
  EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(ShellTest, SecondStartWhileTheFirstIsInTheTrayEndsAfterTheMessage) {
  const Text program = Install(kSettingsHeader + Setting(texts::kBackground, kOnText));
  RunningProgram first(program, kMainWindowClass, Wait::kCreated);
  ASSERT_TRUE(WaitFor([&] { return TrayIconShown(first.window()); }));

  RunningProgram second(program, kMainWindowClass, Wait::kNothing);
  HWND box = WaitForDialog(second, texts::kReminderCaption);
  ASSERT_NE(box, nullptr);
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  // It looks for a visible window a few seconds, then gives up.
  EXPECT_EQ(second.WaitForExit(15000), 0u);
  EXPECT_FALSE(::IsWindowVisible(first.window()));
}

TEST_F(ShellTest, BackgroundStartShowsOnlyTheTrayIcon) {
  RunningProgram running(Install(kSettingsHeader + Setting(texts::kBackground, kOnText)),
                         kMainWindowClass, Wait::kCreated);
  HWND window = running.window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return TrayIconShown(window); }));
  ASSERT_TRUE(WaitFor([&] { return LogLines(running) >= 2; })) << "it updates all the same";
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_TRUE(IsChecked(::GetDlgItem(window, kIdBackgroundBox)));

  DriverWindow driver;
  Tray(window, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window); }));
  EXPECT_FALSE(::IsIconic(window));
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == window; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return !(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST); }, 5000))
      << "in front, not topmost";

  Tray(window, WM_LBUTTONDBLCLK);  // a visible window is hidden
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));
  EXPECT_TRUE(TrayIconShown(window));
}

TEST_F(ShellTest, MinimisingHidesToTheTrayAndTheTrayRestores) {
  RunningProgram running(Install(), kMainWindowClass);
  HWND window = running.window();
  ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));
  EXPECT_TRUE(TrayIconShown(window));

  Tray(window, WM_LBUTTONUP);  // a single click does nothing
  ::Sleep(300);
  EXPECT_FALSE(::IsWindowVisible(window));

  Tray(window, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window); }));
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(window); }, 5000)) << "restored, not minimised";
}

TEST_F(ShellTest, RightClickOpensTheTrayMenu) {
  RunningProgram running(Install(), kMainWindowClass);
  Tray(running.window(), WM_RBUTTONUP);
  // A pop-up menu is a top-level window of class "#32768" of the program's thread.
  EXPECT_TRUE(WaitFor([&] { return test::OpenMenuOf(running.processId()) != nullptr; }, 5000));
  ::PostMessageA(running.window(), WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return test::OpenMenuOf(running.processId()) == nullptr; }, 5000));
}

// Each setting through its check box and through its tray item: the other follows, the file
// follows, the registry follows for autostart, and a restart brings them back.
TEST_F(ShellTest, SettingsStayInStepAndSurviveARestart) {
  const Text program = Install();
  const struct {
    int box;
    MenuId item;
    std::string_view key;
  } settings[] = {
      {kIdWallpaperBox, kMenuWallpaper, texts::kWallpaper},
      {kIdAutostartBox, kMenuAutostart, texts::kAutostart},
      {kIdBackgroundBox, kMenuBackground, texts::kBackground},
  };
  {
    RunningProgram running(program, kMainWindowClass);
    for (const auto& s : settings) {
      SCOPED_TRACE(s.box);
      HWND box = running.Control(s.box);
      ::PostMessageA(box, BM_CLICK, 0, 0);  // the check box on
      EXPECT_TRUE(WaitFor([&] { return StoredSetting(s.key) == kOnText; }));
      EXPECT_TRUE(IsChecked(box));
      if (s.box == kIdAutostartBox) {
        EXPECT_TRUE(WaitFor([] { return RunValue().exists; }));
        test::RegistryValue value = RunValue();
        EXPECT_EQ(value.data, AutostartCommand(folder.path().substr(0, folder.path().size() - 1),
                                               "jichuang.exe") + '\0');
      }
      ChooseTrayItem(running.window(), s.item);  // the tray item off: the box follows
      EXPECT_TRUE(WaitFor([&] { return StoredSetting(s.key) == kOffText; }));
      EXPECT_FALSE(IsChecked(box));
      if (s.box == kIdAutostartBox) EXPECT_TRUE(WaitFor([] { return !RunValue().exists; }));
      ChooseTrayItem(running.window(), s.item);  // and on again, to be kept over the restart
      EXPECT_TRUE(WaitFor([&] { return StoredSetting(s.key) == kOnText; }));
      EXPECT_TRUE(IsChecked(box));
    }
    EXPECT_TRUE(::IsWindowVisible(running.window())) << "the background setting waits for a start";
    EXPECT_TRUE(WaitFor([] { return RunValue().exists; }));
  }
  RunningProgram again(program, kMainWindowClass, Wait::kCreated);
  ASSERT_TRUE(WaitFor([&] { return TrayIconShown(again.window()); }));
  for (const auto& s : settings) EXPECT_TRUE(IsChecked(again.Control(s.box))) << s.box;
  EXPECT_FALSE(::IsWindowVisible(again.window())) << "started in the tray";
  ::PostMessageA(again.Control(kIdAutostartBox), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !RunValue().exists; }));
  EXPECT_EQ(StoredSetting(texts::kAutostart), kOffText);
}

// A close request as the user or Windows makes it.
struct CloseRequest {
  const char* name;
  UINT message;
  WPARAM wParam;
};

// Windows asking at log-off whether the program agrees to end; the answer comes later.
std::future<DWORD_PTR> AskToEndSession(HWND window) {
  return std::async(std::launch::async, [window] {
    DWORD_PTR result = 99;
    ::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000,
                          &result);
    return result;
  });
}

TEST_F(ShellTest, NoToTheCloseQuestionChangesNothing) {
  RunningProgram running(Install(), kMainWindowClass);
  HWND window = running.window();
  const Text before = Stored();
  const CloseRequest requests[] = {
      {"close button", WM_CLOSE, 0},
      {"system menu", WM_SYSCOMMAND, SC_CLOSE},
      {"Esc", WM_KEYDOWN, VK_ESCAPE},
  };
  for (const auto& r : requests) {
    SCOPED_TRACE(r.name);
    ::PostMessageA(window, r.message, r.wParam, 0);
    AnswerCloseQuestion(running, IDNO);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(TrayIconShown(window));
  }
  // Windows asking before log-off is refused on No.
  std::future<DWORD_PTR> answer = AskToEndSession(window);
  AnswerCloseQuestion(running, IDNO);
  EXPECT_EQ(answer.get(), static_cast<DWORD_PTR>(FALSE));
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(running.WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(Stored(), before);
}

TEST_F(ShellTest, YesEndsTheProgramWithoutItsTrayIcon) {
  const CloseRequest requests[] = {
      {"close button", WM_CLOSE, 0},
      {"Esc", WM_KEYDOWN, VK_ESCAPE},
      {"tray item", WM_COMMAND, kMenuExit},
      {"log-off", WM_QUERYENDSESSION, 0},
  };
  const Text program = Install();
  for (const auto& r : requests) {
    SCOPED_TRACE(r.name);
    RunningProgram running(program, kMainWindowClass);
    HWND window = running.window();
    ASSERT_TRUE(TrayIconShown(window));
    std::future<DWORD_PTR> query;
    if (r.message == WM_QUERYENDSESSION) {
      query = AskToEndSession(window);
    } else {
      ::PostMessageA(window, r.message, r.wParam, 0);
    }
    AnswerCloseQuestion(running, IDYES);
    if (query.valid()) EXPECT_EQ(query.get(), static_cast<DWORD_PTR>(TRUE));
    // Asked once: no second question comes before the end.
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(WaitFor([&] {
      EXPECT_EQ(running.FindDialog(Text(texts::kQuestionCaption)), nullptr);
      return (code = running.WaitForExit(20)) != STILL_ACTIVE;
    }, 10000));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(TrayIconShown(window));
  }
}

TEST_F(ShellTest, ExitFromTheTrayAnsweredNoDoesNothing) {
  RunningProgram running(Install(), kMainWindowClass);
  ChooseTrayItem(running.window(), kMenuExit);
  AnswerCloseQuestion(running, IDNO);
  EXPECT_EQ(running.WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_TRUE(::IsWindowVisible(running.window()));
  EXPECT_TRUE(TrayIconShown(running.window()));
}

TEST_F(ShellTest, ClosingDuringAnUpdateDoesNotWaitForIt) {
  RunningProgram running(Install(), kMainWindowClass);
  ASSERT_TRUE(WaitFor([&] { return LogLines(running) >= 2; }));
  const Bytes stored = ReadWholeFile(folder.Path("data\\vela.png"));
  ASSERT_EQ(stored, service.Image());
  service.Hold();  // the next update waits for the service
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(running.Control(kIdUpdateButton)); }));
  ::PostMessageA(running.Control(kIdUpdateButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return service.Requests().size() == 3; }));
  ::PostMessageA(running.window(), WM_CLOSE, 0, 0);
  AnswerCloseQuestion(running, IDYES);
  EXPECT_EQ(running.WaitForExit(5000), 0u);
  EXPECT_EQ(ReadWholeFile(folder.Path("data\\vela.png")), stored);
  service.Release();
}

// The question disables the window: a tray double-click meanwhile must not cover it.
TEST_F(ShellTest, TrayWhileTheQuestionIsOpenLeavesTheWindowAlone) {
  RunningProgram running(Install(), kMainWindowClass);
  HWND window = running.window();
  ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));
  ChooseTrayItem(window, kMenuExit);
  HWND box = WaitForDialog(running, texts::kQuestionCaption);
  ASSERT_NE(box, nullptr);
  Tray(window, WM_LBUTTONDBLCLK);
  ::Sleep(300);
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_TRUE(::IsWindowVisible(box));
  AnswerCloseQuestion(running, IDNO);
  Tray(window, WM_LBUTTONDBLCLK);  // and afterwards the tray works again
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(window); }));
}

TEST_F(ShellTest, TrayItemRunsAManualUpdate) {
  RunningProgram running(Install(), kMainWindowClass);
  ASSERT_TRUE(WaitFor([&] { return LogLines(running) >= 2; }));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(running.Control(kIdUpdateButton)); }));
  ChooseTrayItem(running.window(), kMenuUpdate);
  ASSERT_TRUE(WaitFor([&] { return LogLines(running) >= 4; }));
  EXPECT_EQ(service.Requests().size(), 4u);
}

}  // namespace
}  // namespace jc
