#include "shell/main_window_win.h"

#include <shellapi.h>

#include "shell/picture_box_win.h"
#include "shell/resource.h"
#include "shell/shell_texts.h"
#include "shell/update_thread_win.h"
#include "shell/window_object_win.h"
#include "update/update_job.h"

namespace jc {
namespace {

constexpr UINT_PTR kUpdateTimer = 1;

struct ControlSpec {
  ControlId id;
  const char* windowClass;
  std::string_view caption;
  DWORD style;
  DWORD exStyle;
  RECT bounds;  // left, top, right, bottom in client coordinates
};

const ControlSpec kControls[] = {
    {kIdUpdateButton, "BUTTON", texts::kUpdateNow, BS_PUSHBUTTON | WS_TABSTOP, 0,
     {552, 8, 552 + 80, 8 + 32}},
    {kIdWallpaperBox, "BUTTON", texts::kWallpaper, BS_AUTOCHECKBOX | WS_TABSTOP, 0,
     {640, 12, 640 + 80, 12 + 24}},
    {kIdAutostartBox, "BUTTON", texts::kAutostart, BS_AUTOCHECKBOX | WS_TABSTOP, 0,
     {716, 12, 716 + 80, 12 + 24}},
    {kIdBackgroundBox, "BUTTON", texts::kBackground, BS_AUTOCHECKBOX | WS_TABSTOP, 0,
     {792, 12, 792 + 80, 12 + 24}},
    {kIdLog, "EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE,
     {552, 48, 552 + 328, 48 + 496}},
};

// The system's message font, so Chinese captions use the font the user's Windows picked.
HFONT CreateMessageFont() {
  NONCLIENTMETRICSA metrics = {sizeof metrics};
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return ::CreateFontIndirectA(&metrics.lfMessageFont);
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance, ShellPlaces places) {
  WNDCLASSEXA windowClass = {sizeof windowClass};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
  windowClass.hIconSm = static_cast<HICON>(::LoadImageA(
      instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
      ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  ::RegisterClassExA(&windowClass);

  std::unique_ptr<MainWindow> window(new MainWindow);
  window->places_ = std::move(places);
  // A fixed single border, a system menu and a minimise button: no resizing, no maximising.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  const std::string caption(texts::kWindowCaption);
  if (!::CreateWindowExA(0, kMainWindowClass, caption.c_str(), style, left, top, kWindowWidth,
                         kWindowHeight, nullptr, nullptr, instance, window.get())) {
    return nullptr;
  }
  return window;
}

MainWindow::~MainWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool MainWindow::PostTask(HWND window, Task task) {
  auto owned = std::make_unique<Task>(std::move(task));
  if (!::PostMessageA(window, kWmRunTask, 0, reinterpret_cast<LPARAM>(owned.get()))) return false;
  owned.release();  // the window's OnMessage takes it back
  return true;
}

int MainWindow::RunMessageLoop() {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    bool escape = message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
                  !(::GetKeyState(VK_CONTROL) & 0x8000) && !(::GetKeyState(VK_SHIFT) & 0x8000) &&
                  !(::GetKeyState(VK_MENU) & 0x8000);
    if (escape && (message.hwnd == hwnd_ || ::IsChild(hwnd_, message.hwnd))) {
      ::PostMessageA(hwnd_, WM_CLOSE, 0, 0);
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

bool MainWindow::IsVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }

void MainWindow::SetVisible(bool visible) { ::ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }

bool MainWindow::IsMinimised() const {
  WINDOWPLACEMENT placement = {sizeof placement};
  return ::GetWindowPlacement(hwnd_, &placement) && placement.showCmd == SW_SHOWMINIMIZED;
}

void MainWindow::ShowRestored() {
  ::ShowWindow(hwnd_, SW_RESTORE);
  ::SetForegroundWindow(hwnd_);
}

void MainWindow::SetAlwaysOnTop(bool onTop) {
  ::SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool MainWindow::IsChecked(ControlId box) const {
  return ::SendMessageA(Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetChecked(ControlId box, bool checked) {
  ::SendMessageA(Control(box), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::IsMenuChecked(MenuId item) const {
  return (::GetMenuState(trayMenu_.get(), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void MainWindow::SetMenuChecked(MenuId item, bool checked) {
  ::CheckMenuItem(trayMenu_.get(), item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::SetMenuEnabled(MenuId item, bool enabled) {
  ::EnableMenuItem(trayMenu_.get(), item, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::SetButtonEnabled(bool enabled) { ::EnableWindow(Control(kIdUpdateButton), enabled); }

void MainWindow::SetTimerPeriod(int milliseconds) {
  if (milliseconds == timerPeriod_) return;  // a running timer is not restarted
  ::KillTimer(hwnd_, kUpdateTimer);
  timerPeriod_ = milliseconds > 0 ? milliseconds : 0;
  if (timerPeriod_ > 0) ::SetTimer(hwnd_, kUpdateTimer, static_cast<UINT>(timerPeriod_), nullptr);
}

void MainWindow::AppendLog(const Text& text) {
  HWND log = Control(kIdLog);
  LRESULT end = ::GetWindowTextLengthA(log);
  ::SendMessageA(log, EM_SETSEL, end, end);
  ::SendMessageA(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  ::SendMessageA(log, EM_SCROLLCARET, 0, 0);
}

void MainWindow::SetPicture(const Bytes& bytes) { picture_->SetPicture(bytes); }

const Bytes& MainWindow::Picture() const { return picture_->Picture(); }

bool MainWindow::AddTrayIcon() {
  if (trayIconAdded_) return true;
  NOTIFYICONDATAA data = {sizeof data};
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kWmTrayNotify;
  data.hIcon = trayIcon_.get();
  Text tip = LeftText(texts::kTrayTip, 62);
  memcpy(data.szTip, tip.c_str(), tip.size() + 1);
  trayIconAdded_ = ::Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
  return trayIconAdded_;
}

void MainWindow::RemoveTrayIcon() {
  if (!trayIconAdded_) return;
  NOTIFYICONDATAA data = {sizeof data};
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  ::Shell_NotifyIconA(NIM_DELETE, &data);
  trayIconAdded_ = false;
}

void MainWindow::PopUpTrayMenu() {
  POINT at;
  ::GetCursorPos(&at);
  // Without the foreground, the menu would not close when the user clicks elsewhere; the
  // WM_NULL afterwards lets a second click on the icon work (a long-standing shell rule).
  ::SetForegroundWindow(hwnd_);
  ::TrackPopupMenu(trayMenu_.get(), TPM_RIGHTBUTTON, at.x + 3, at.y + 3, 0, hwnd_, nullptr);
  ::PostMessageA(hwnd_, WM_NULL, 0, 0);
}

void MainWindow::PostDestroy() {
  PostTask(hwnd_, [](MainWindow& window) { ::DestroyWindow(window.hwnd()); });
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* window = WindowObject<MainWindow>(hwnd, message, lParam);
  if (!window) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = window->OnMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) window->hwnd_ = nullptr;
  return result;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_TIMER:
      if (wParam == kUpdateTimer) OnTimer();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      OnMoved();
      break;
    case WM_CLOSE:
      if (AskToClose()) ::DestroyWindow(hwnd_);
      return 0;
    case WM_QUERYENDSESSION:
      // Windows asks at log-off or shut-down; No refuses, Yes ends the program.
      if (!AskToClose()) return FALSE;
      PostDestroy();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      // The read-only log keeps the white background of an editable one.
      if (reinterpret_cast<HWND>(lParam) == Control(kIdLog)) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(logBrush_);
      }
      break;
    case kWmTrayNotify:
      switch (LOWORD(lParam)) {
        case WM_LBUTTONUP: OnTrayNotify(1); break;
        case WM_LBUTTONDBLCLK: OnTrayNotify(2); break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: OnTrayNotify(3); break;
      }
      return 0;
    case kWmRunTask: {
      std::unique_ptr<Task> task(reinterpret_cast<Task*>(lParam));
      (*task)(*this);
      return 0;
    }
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

void MainWindow::OnCreate() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  font_.reset(CreateMessageFont());
  logBrush_ = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  trayIcon_.reset(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXSMICON),
                                                  ::GetSystemMetrics(SM_CYSMICON), 0)));

  picture_ = PictureBox::Create(hwnd_, kIdPicture, {0, 0, 550, 550});
  for (const ControlSpec& spec : kControls) {
    const std::string caption(spec.caption);
    HWND control = ::CreateWindowExA(
        spec.exStyle, spec.windowClass, caption.c_str(), WS_CHILD | WS_VISIBLE | spec.style,
        spec.bounds.left, spec.bounds.top, spec.bounds.right - spec.bounds.left,
        spec.bounds.bottom - spec.bounds.top, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    if (font_) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  // Two lines every ten minutes for months: lift the edit box's 30,000-character default.
  ::SendMessageA(Control(kIdLog), EM_SETLIMITTEXT, 0, 0);

  trayMenu_.reset(::CreatePopupMenu());
  const std::string update(texts::kUpdateNow), wallpaper(texts::kWallpaper),
      autostart(texts::kAutostart), background(texts::kBackground), exit(texts::kExit);
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuUpdate, update.c_str());
  ::AppendMenuA(trayMenu_.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuWallpaper, wallpaper.c_str());
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuAutostart, autostart.c_str());
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuBackground, background.c_str());
  ::AppendMenuA(trayMenu_.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuExit, exit.c_str());
}

void MainWindow::OnTimer() {
  // A tick while a job runs is skipped, so two jobs never overlap.
  if (jobRunning_) return;
  jobRunning_ = StartUpdateThread(hwnd_, [](MainWindow& window) { window.jobRunning_ = false; });
}

void MainWindow::RequestUpdateNow() { SetTimerPeriod(kUpdateNowMs); }

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case kIdUpdateButton:
      if (code == BN_CLICKED) RequestUpdateNow();
      break;
    case kIdWallpaperBox:
    case kIdAutostartBox:
    case kIdBackgroundBox:
      if (code == BN_CLICKED) OnSettingBoxClicked(*this, static_cast<ControlId>(id), places_);
      break;
    case kMenuUpdate:
      RequestUpdateNow();
      break;
    case kMenuWallpaper:
    case kMenuAutostart:
    case kMenuBackground:
      OnSettingItemChosen(*this, static_cast<MenuId>(id), places_);
      break;
    case kMenuExit:
      // Destroyed directly, without a close request, so the question is asked once.
      if (AskToClose()) PostDestroy();
      break;
  }
}

void MainWindow::OnTrayNotify(int code) {
  if (asking_ && (code == 2 || code == 3)) {
    // The question disables the window; showing it now would cover the question with a window
    // that takes no clicks. The question comes to the front instead.
    const std::string caption(texts::kQuestionCaption);
    HWND question = ::FindWindowA("#32770", caption.c_str());
    DWORD owner = 0;
    if (question && ::GetWindowThreadProcessId(question, &owner) == ::GetCurrentThreadId()) {
      ::SetForegroundWindow(question);
    }
    return;
  }
  switch (code) {
    case 2:  // show or hide; a window shown again comes back restored and in front
      SetAlwaysOnTop(true);
      if (IsVisible()) {
        SetVisible(false);
      } else {
        ShowRestored();
      }
      SetAlwaysOnTop(false);
      break;
    case 3:
      PopUpTrayMenu();
      break;
  }
}

void MainWindow::OnMoved() {
  // Windows moves a window as it minimises it: minimised means gone to the tray, taskbar
  // button and all.
  if (IsVisible() && IsMinimised()) SetVisible(false);
}

bool MainWindow::AskToClose() {
  // One question at a time: a close request that comes while it is open (from the tray menu,
  // or Windows asking to end the session) is refused.
  if (asking_) return false;
  asking_ = true;
  const std::string question(texts::kCloseQuestion), caption(texts::kQuestionCaption);
  const int answer = ::MessageBoxA(nullptr, question.c_str(), caption.c_str(), MB_YESNO | MB_TASKMODAL);
  asking_ = false;
  return answer == IDYES;
}

void MainWindow::OnDestroy() {
  ::KillTimer(hwnd_, kUpdateTimer);
  RemoveTrayIcon();
  ::PostQuitMessage(0);
}

}  // namespace jc
