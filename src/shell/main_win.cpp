// Program entry. For now the main window is a bare frame with the program's caption; the
// controls, tray icon and update timer arrive with the window and start-up code.
#include <windows.h>

#include <string>

#include "common/gbk.h"
#include "shell/resource.h"

namespace {

constexpr char kWindowClass[] = "JiChuangMainWindow";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSEXA windowClass = {sizeof windowClass};
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
  windowClass.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP),
                                                        IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  if (!::RegisterClassExA(&windowClass)) return 1;

  const std::string caption(jc::gbk::kProgramName);
  HWND window = ::CreateWindowExA(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 890, 580, nullptr, nullptr,
                                  instance, nullptr);
  if (!window) return 1;
  ::ShowWindow(window, showCommand);

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
