// The main window: picture, log, update button, three setting check boxes, the update timer,
// the tray icon and its hidden menu "托盘菜单".
//
// Every method runs on the user-interface thread. Other threads reach the window only through
// `PostTask`, which hands a task to the user-interface thread, where it runs in the order posted.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "common/text.h"
#include "common/unique_handle_win.h"
#include "shell/settings_win.h"

namespace jc {

class PictureBox;

// Control identifiers (also what a test driver looks the controls up by).
enum ControlId : int {
  kIdPicture = 100,  // 图片框1
  kIdUpdateButton,   // 按钮1
  kIdWallpaperBox,   // 选择框1
  kIdAutostartBox,   // 选择框2
  kIdBackgroundBox,  // 选择框3
  kIdLog,            // 编辑框1
};

// Tray menu items, by position 1 to 7 (2 and 6 are separators).
enum MenuId : UINT {
  kMenuUpdate = 201,
  kMenuWallpaper = 203,
  kMenuAutostart = 204,
  kMenuBackground = 205,
  kMenuExit = 207,
};

// The window's own messages. The tray sends kWmTrayNotify with wParam kTrayIconId and the
// mouse message in lParam (a test driver sends the same).
enum WindowMessage : UINT {
  kWmTrayNotify = WM_APP + 1,
  kWmRunTask = WM_APP + 2,  // lParam: a Task* that the window takes over and runs
};
inline constexpr UINT kTrayIconId = 1;

inline constexpr char kMainWindowClass[] = "JiChuangMainWindow";
inline constexpr int kWindowWidth = 890;
inline constexpr int kWindowHeight = 580;

class MainWindow {
 public:
  using Task = std::function<void(MainWindow&)>;

  // Creates the window centred on the primary screen, hidden, with every control. The settings
  // act on `places`.
  static std::unique_ptr<MainWindow> Create(HINSTANCE instance,
                                            ShellPlaces places = ProgramPlaces());
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Hands `task` to the user-interface thread of `window`; false (and the task dropped) when
  // the window is gone. Safe from any thread.
  static bool PostTask(HWND window, Task task);

  // Runs the loop until the window is destroyed. Esc without modifiers, in the window or any of
  // its controls, is a close request.
  int RunMessageLoop();

  bool IsVisible() const;
  void SetVisible(bool visible);
  bool IsMinimised() const;
  void ShowRestored();  // shown, not minimised, activated
  void SetAlwaysOnTop(bool onTop);
  bool IsChecked(ControlId box) const;
  void SetChecked(ControlId box, bool checked);  // raises no clicked event
  bool IsMenuChecked(MenuId item) const;
  void SetMenuChecked(MenuId item, bool checked);
  void SetMenuEnabled(MenuId item, bool enabled);
  void SetButtonEnabled(bool enabled);
  int TimerPeriod() const { return timerPeriod_; }
  void SetTimerPeriod(int milliseconds);  // the current period again changes nothing
  void AppendLog(const Text& text);
  void SetPicture(const Bytes& bytes);
  const Bytes& Picture() const;
  bool AddTrayIcon();
  void RemoveTrayIcon();
  void PopUpTrayMenu();
  void PostDestroy();

 private:
  MainWindow() = default;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnTimer();
  void OnCommand(int id, int code);
  void OnTrayNotify(int code);
  void OnMoved();
  void OnDestroy();
  void RequestUpdateNow();
  bool AskToClose();
  HWND Control(ControlId id) const { return ::GetDlgItem(hwnd_, id); }

  struct MenuTraits {
    using Handle = HMENU;
    static Handle None() noexcept { return nullptr; }
    static void Close(Handle menu) noexcept { ::DestroyMenu(menu); }
  };
  struct IconTraits {
    using Handle = HICON;
    static Handle None() noexcept { return nullptr; }
    static void Close(Handle icon) noexcept { ::DestroyIcon(icon); }
  };

  template <typename Object>
  friend Object* WindowObject(HWND, UINT, LPARAM);
  HWND hwnd_ = nullptr;
  ShellPlaces places_;
  PictureBox* picture_ = nullptr;  // owned by its window
  UniqueHandle<MenuTraits> trayMenu_;
  UniqueHandle<IconTraits> trayIcon_;
  UniqueGdiObject font_;
  HBRUSH logBrush_ = nullptr;  // a stock brush
  bool trayIconAdded_ = false;
  bool jobRunning_ = false;
  bool asking_ = false;  // the close question is open
  int timerPeriod_ = 0;
};

}  // namespace jc
