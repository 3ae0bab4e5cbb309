// The whole program, driven from another process as a user would: it is started from a fresh
// folder whose settings point at the sample image service, and looked at through its window.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/file_win.h"
#include "common/unique_handle_win.h"
#include "imaging/wallpaper_win.h"
#include "shell/main_window_win.h"
#include "shell/shell_texts.h"
#include "tests/support/program_checks_win.h"
#include "tests/support/running_program_win.h"
#include "tests/support/sample_service_win.h"
#include "tests/support/temp_folder_win.h"
#include "update/service_address.h"
#include "update/update_job.h"

namespace jc {
namespace {

using test::kDoneShape;
using test::kStartShape;
using test::Misbehaviour;
using test::Shape;
using test::SampleService;
using test::WaitFor;

// The shipped program, looked at through its window.
class RunningProgram {
 public:
  RunningProgram(const test::TempFolder& folder, const std::string& serviceAddress)
      : program_(folder.path(), JC_PROGRAM, kMainWindowClass, serviceAddress) {}

  HWND window() const { return program_.window(); }
  const test::RunningProgram& running() const { return program_; }
  HWND Control(int id) const { return program_.Control(id); }
  std::vector<Text> LogLines() const { return program_.LogLines(kIdLog); }
  bool WaitForLogLines(size_t count, DWORD timeoutMs = 15000) const {
    return WaitFor([&] { return LogLines().size() >= count; }, timeoutMs);
  }
  bool ButtonEnabled() const { return ::IsWindowEnabled(Control(kIdUpdateButton)) != FALSE; }
  void ClickUpdate() const { ::PostMessageA(Control(kIdUpdateButton), BM_CLICK, 0, 0); }

 private:
  test::RunningProgram program_;
};

std::string ExpectedRequest(const SampleService& service, const std::string& path) {
  const std::string host = "127.0.0.1:" + std::to_string(service.port());
  return "GET " + path + " HTTP/1.1\r\nHost: " + host +
         "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\nAccept: */*\r\n"
         "Referer: http://" + host + path +
         "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\n";
}

class ProgramTest : public testing::Test {
 protected:
  test::TempFolder folder;
  SampleService service;
  const Text imageFile = folder.Path("data\\vela.png");
  const Text wallpaperBitmap = SystemFolderPath(9) + Text(kWallpaperBitmapName);
};

TEST_F(ProgramTest, WindowIsCentredWithItsControls) {
  RunningProgram program(folder, service.AddressSetting());
  ASSERT_NE(program.window(), nullptr);
  RECT outer;
  ::GetWindowRect(program.window(), &outer);
  EXPECT_EQ(outer.right - outer.left, 890);
  EXPECT_EQ(outer.bottom - outer.top, 580);
  EXPECT_EQ(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - 890) / 2);
  EXPECT_EQ(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - 580) / 2);
  LONG style = ::GetWindowLongA(program.window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  char caption[32] = {};
  ::GetWindowTextA(program.window(), caption, sizeof caption);
  EXPECT_EQ(Text(caption), texts::kWindowCaption);

  struct Expected {
    int id;
    RECT bounds;
    std::string_view caption;
  };
  const Expected controls[] = {
      {kIdPicture, {0, 0, 550, 550}, ""},
      {kIdUpdateButton, {552, 8, 632, 40}, texts::kUpdateNow},
      {kIdWallpaperBox, {640, 12, 720, 36}, texts::kWallpaper},
      {kIdAutostartBox, {716, 12, 796, 36}, texts::kAutostart},
      {kIdBackgroundBox, {792, 12, 872, 36}, texts::kBackground},
      {kIdLog, {552, 48, 880, 544}, ""},
  };
  for (const Expected& c : controls) {
    HWND control = program.Control(c.id);
    ASSERT_NE(control, nullptr) << c.id;
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, program.window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.bounds.left) << c.id;
    EXPECT_EQ(r.top, c.bounds.top) << c.id;
    EXPECT_EQ(r.right, c.bounds.right) << c.id;
    EXPECT_EQ(r.bottom, c.bounds.bottom) << c.id;
    char text[64] = {};
    ::GetWindowTextA(control, text, sizeof text);
    if (c.id != kIdLog) {
      EXPECT_EQ(Text(text), c.caption) << c.id;
    }
  }
  EXPECT_TRUE(::GetWindowLongA(program.Control(kIdLog), GWL_STYLE) & ES_READONLY);
}

TEST_F(ProgramTest, FirstJobLogsFetchesAndStores) {
  service.Hold();  // the document's answer waits: the job is caught in the middle
  RunningProgram program(folder, service.AddressSetting());
  ASSERT_TRUE(WaitFor([&] { return service.Requests().size() == 1; }));
  std::vector<Text> during = program.LogLines();
  ASSERT_EQ(during.size(), 1u) << "the start line comes before the first request";
  EXPECT_EQ(Shape(during[0]), kStartShape);
  EXPECT_FALSE(program.ButtonEnabled());
  EXPECT_FALSE(test::TrayUpdateItemEnabled(program.running())) << "nor the tray item";
  service.Release();

  ASSERT_TRUE(program.WaitForLogLines(2));
  std::vector<Text> lines = program.LogLines();
  EXPECT_EQ(Shape(lines[1]), kDoneShape);
  std::vector<std::string> requests = service.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], ExpectedRequest(service, SampleService::kDocumentPath));
  EXPECT_EQ(requests[1], ExpectedRequest(service, SampleService::kImagePath));
  EXPECT_TRUE(WaitFor([&] { return program.ButtonEnabled(); }));
  EXPECT_TRUE(test::TrayUpdateItemEnabled(program.running()));
  EXPECT_EQ(ReadWholeFile(imageFile), service.Image());
  EXPECT_FALSE(FileExists(imageFile + ".tmp"));

  // The next job is ten minutes away; the button asks for one at once.
  ::Sleep(1500);
  EXPECT_EQ(service.Requests().size(), 2u);
  EXPECT_EQ(program.LogLines().size(), 2u);
  program.ClickUpdate();
  ASSERT_TRUE(program.WaitForLogLines(4));
  EXPECT_EQ(service.Requests().size(), 4u);
  EXPECT_EQ(Shape(program.LogLines()[2]), kStartShape);
  EXPECT_EQ(Shape(program.LogLines()[3]), kDoneShape);
}

TEST_F(ProgramTest, WallpaperOnlyWhenTicked) {
  ::DeleteFileA(wallpaperBitmap.c_str());
  RunningProgram program(folder, service.AddressSetting());
  ASSERT_TRUE(program.WaitForLogLines(2));
  EXPECT_FALSE(FileExists(wallpaperBitmap)) << "unticked: the wallpaper is not touched";

  ::SendMessageA(program.Control(kIdWallpaperBox), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_TRUE(WaitFor([&] { return program.ButtonEnabled(); }));
  program.ClickUpdate();
  ASSERT_TRUE(program.WaitForLogLines(4));
  EXPECT_TRUE(FileExists(wallpaperBitmap));
  char named[MAX_PATH + 1] = {};
  ::SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, named, 0);
  EXPECT_EQ(Text(named), wallpaperBitmap);
  ::DeleteFileA(wallpaperBitmap.c_str());
}

TEST_F(ProgramTest, MisbehavingServiceKeepsTheLastGoodImage) {
  RunningProgram program(folder, service.AddressSetting());
  ASSERT_TRUE(program.WaitForLogLines(2));
  ASSERT_TRUE(WaitFor([&] { return program.ButtonEnabled(); }));
  const Bytes good = ReadWholeFile(imageFile);
  ASSERT_EQ(good, service.Image());

  const struct {
    Misbehaviour misbehaviour;
    const char* name;
    DWORD timeoutMs;
  } cases[] = {
      {Misbehaviour::kHtml404, "HTML 404", 15000},
      {Misbehaviour::kEmptyBody, "empty body", 15000},
      {Misbehaviour::kTruncatedPng, "truncated PNG", 15000},
      {Misbehaviour::kGarbageJson, "garbage JSON", 15000},
      {Misbehaviour::kNoDate, "no date", 15000},
      {Misbehaviour::kPlaceholder, "No Image placeholder", 15000},
      {Misbehaviour::kSilent, "no answer", 60000},  // ends with the request time-out
  };
  size_t lines = 2;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    service.SetMisbehaviour(c.misbehaviour);
    program.ClickUpdate();
    lines += 2;
    ASSERT_TRUE(program.WaitForLogLines(lines, c.timeoutMs));
    EXPECT_TRUE(WaitFor([&] { return program.ButtonEnabled(); }));
    EXPECT_EQ(Shape(program.LogLines()[lines - 2]), kStartShape);
    EXPECT_EQ(Shape(program.LogLines()[lines - 1]), kDoneShape);
    EXPECT_EQ(ReadWholeFile(imageFile), good);
  }
}

}  // namespace
}  // namespace jc
