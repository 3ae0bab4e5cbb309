// The main window's operations, in the test's own process and thread.
#include "shell/main_window_win.h"

#include <gtest/gtest.h>

#include "imaging/gdiplus_win.h"
#include "tests/support/png_maker.h"
#include "tests/support/program_checks_win.h"
#include "tests/support/scratch_registry_win.h"
#include "tests/support/temp_folder_win.h"

namespace jc {
namespace {

// Pumps the thread's messages for a while, calling `each` for every message seen.
void Pump(DWORD milliseconds, const std::function<void(const MSG&)>& each = {}) {
  DWORD began = ::GetTickCount();
  MSG message;
  while (::GetTickCount() - began < milliseconds) {
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (each) each(message);
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

HHOOK gHook = nullptr;
int gClicks = 0;

LRESULT CALLBACK CountClicks(int code, WPARAM wParam, LPARAM lParam) {
  auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code >= 0 && call->message == WM_COMMAND && HIWORD(call->wParam) == BN_CLICKED) ++gClicks;
  return ::CallNextHookEx(gHook, code, wParam, lParam);
}

class MainWindowTest : public testing::Test {
 protected:
  GdiplusSession gdiplus;
  test::TempFolder folder;  // the settings that a click stores go here
  test::ScratchRegistry registry;
  std::unique_ptr<MainWindow> window = MainWindow::Create(
      ::GetModuleHandleA(nullptr),
      {folder.Path("vela.ini"), folder.Path("vela.png"), registry.roots()});
};

TEST_F(MainWindowTest, StartsHiddenEmptyAndStopped) {
  ASSERT_TRUE(window);
  EXPECT_FALSE(window->IsVisible());
  EXPECT_EQ(window->TimerPeriod(), 0);
  EXPECT_TRUE(window->Picture().empty());
  for (ControlId box : {kIdWallpaperBox, kIdAutostartBox, kIdBackgroundBox}) {
    EXPECT_FALSE(window->IsChecked(box));
  }
}

TEST_F(MainWindowTest, SettingACheckMarkRaisesNoClick) {
  gHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CountClicks, nullptr, ::GetCurrentThreadId());
  gClicks = 0;
  window->SetChecked(kIdWallpaperBox, true);
  Pump(50);
  EXPECT_TRUE(window->IsChecked(kIdWallpaperBox));
  EXPECT_EQ(gClicks, 0);
  // A real click does raise one, so the hook would have seen it.
  ::SendMessageA(::GetDlgItem(window->hwnd(), kIdAutostartBox), BM_CLICK, 0, 0);
  Pump(50);
  EXPECT_EQ(gClicks, 1);
  EXPECT_TRUE(window->IsChecked(kIdAutostartBox));
  ::UnhookWindowsHookEx(gHook);
}

TEST_F(MainWindowTest, PictureKeepsTheBytesGiven) {
  Bytes png = test::MakeEarthPng(64);
  window->SetPicture(png);
  EXPECT_EQ(window->Picture(), png);
  Bytes garbage = BytesFromText("not an image");
  window->SetPicture(garbage);
  EXPECT_EQ(window->Picture(), garbage);
  window->SetPicture({});
  EXPECT_TRUE(window->Picture().empty());
}

TEST_F(MainWindowTest, PictureIsCentredOnBlack) {
  window->SetVisible(true);
  window->SetPicture(test::MakePng(100, 60, [](int, int) { return 0xFFFFFFFFu; }));
  HWND box = ::GetDlgItem(window->hwnd(), kIdPicture);
  ::UpdateWindow(box);
  Pump(100);
  HDC dc = ::GetDC(box);
  EXPECT_EQ(::GetPixel(dc, 275, 275), RGB(255, 255, 255));  // the centre of the image
  EXPECT_EQ(::GetPixel(dc, 226, 246), RGB(255, 255, 255));  // its top-left corner
  EXPECT_EQ(::GetPixel(dc, 224, 275), RGB(0, 0, 0));        // just left of it
  EXPECT_EQ(::GetPixel(dc, 275, 243), RGB(0, 0, 0));        // just above it
  EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(0, 0, 0));
  ::ReleaseDC(box, dc);
}

TEST_F(MainWindowTest, LogAppendsAtTheEnd) {
  window->AppendLog("a\r\n");
  ::SendMessageA(::GetDlgItem(window->hwnd(), kIdLog), EM_SETSEL, 0, 0);  // caret elsewhere
  window->AppendLog("b\r\n");
  char text[16] = {};
  ::GetWindowTextA(::GetDlgItem(window->hwnd(), kIdLog), text, sizeof text);
  EXPECT_STREQ(text, "a\r\nb\r\n");
}

TEST_F(MainWindowTest, SamePeriodDoesNotRestartTheTimer) {
  // The tick itself starts an update job; a service nobody listens on keeps it short.
  DWORD began = ::GetTickCount();
  window->SetTimerPeriod(600);
  Pump(400);
  window->SetTimerPeriod(600);  // restarting would move the first tick to about 1000 ms
  DWORD firstTick = 0;
  Pump(1100, [&](const MSG& m) {
    if (m.message == WM_TIMER && m.hwnd == window->hwnd() && !firstTick) firstTick = ::GetTickCount();
  });
  ASSERT_NE(firstTick, 0u);
  EXPECT_LT(firstTick - began, 900u);
  window->SetTimerPeriod(0);
  EXPECT_EQ(window->TimerPeriod(), 0);
}

TEST_F(MainWindowTest, TasksRunOnTheWindowThreadInOrder) {
  std::vector<int> ran;
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i) MainWindow::PostTask(window->hwnd(), [&ran, i](MainWindow&) { ran.push_back(i); });
  });
  worker.join();
  Pump(100);
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4}));
  HWND gone = window->hwnd();
  window.reset();
  EXPECT_FALSE(MainWindow::PostTask(gone, [](MainWindow&) {}));
}

// Wine takes a destroyed window's tray icon away by itself, so the handler is called while the
// window still exists: on Windows a forgotten icon would stay in the tray.
TEST_F(MainWindowTest, DestroyHandlerRemovesTheTrayIcon) {
  ASSERT_TRUE(window->AddTrayIcon());
  EXPECT_TRUE(test::TrayIconShown(window->hwnd()));
  ::SendMessageA(window->hwnd(), WM_DESTROY, 0, 0);
  EXPECT_FALSE(test::TrayIconShown(window->hwnd()));
  MSG quit;
  EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop ends";
}

}  // namespace
}  // namespace jc
