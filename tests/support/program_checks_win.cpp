#include "tests/support/program_checks_win.h"

#include <shellapi.h>

#include "update/update_job.h"

namespace jc::test {
namespace {

const Text kStampShape = "9999\xC4\xEA" "99\xD4\xC2" "99\xC8\xD5 99\xCA\xB1" "99\xB7\xD6" "99\xC3\xEB";

}  // namespace

Text Shape(Text line) {
  for (char& c : line) {
    if (c >= '0' && c <= '9') c = '9';
  }
  return line;
}
const Text kStartShape = kStampShape + Text(kStartMessage) + "\r\n";
const Text kDoneShape = kStampShape + Text(kDoneMessage) + "\r\n";

HWND OpenMenuOf(DWORD processId) {
  for (HWND menu = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu;
       menu = ::FindWindowExA(nullptr, menu, "#32768", nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(menu, &owner);
    if (owner == processId && ::IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

bool TrayIconShown(HWND window) {
  NOTIFYICONDATAA data = {sizeof data};
  data.hWnd = window;
  data.uID = kTrayIconId;
  return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void Tray(HWND window, UINT mouseMessage) {
  ::PostMessageA(window, kWmTrayNotify, kTrayIconId, mouseMessage);
}

void ChooseTrayItem(HWND window, MenuId item) { ::PostMessageA(window, WM_COMMAND, item, 0); }

bool IsChecked(HWND box) { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool TrayUpdateItemEnabled(const RunningProgram& program) {
  // The menu opens at the cursor: keep the cursor away from the items, so none is highlighted.
  ::SetCursorPos(0, 0);
  Tray(program.window(), WM_RBUTTONUP);
  HWND menu = nullptr;
  if (!WaitFor([&] { return (menu = OpenMenuOf(program.processId())) != nullptr; }, 5000)) return false;
  RECT r;
  ::GetWindowRect(menu, &r);
  // Dark pixels in a band of rows: enabled text is near black, grey text is not.
  HDC screen = ::GetDC(nullptr);
  auto darkIn = [&](int from, int to) {
    int dark = 0;
    for (int y = r.top + from; y < r.top + to && y < r.bottom; ++y) {
      for (int x = r.left + 3; x < r.right - 3; ++x) {
        COLORREF c = ::GetPixel(screen, x, y);
        if (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c) < 1100) ++dark;
      }
    }
    return dark;
  };
  // The first item's row, beside the row of 设置壁纸 (below the separator), always enabled;
  // read again until the menu is drawn.
  int first = 0, reference = 0;
  WaitFor([&] {
    first = darkIn(3, 21);
    reference = darkIn(29, 47);
    return reference > 0;
  }, 3000);
  ::ReleaseDC(nullptr, screen);
  ::PostMessageA(program.window(), WM_CANCELMODE, 0, 0);
  WaitFor([&] { return OpenMenuOf(program.processId()) == nullptr; }, 5000);
  return reference > 0 && first * 3 > reference;
}

bool WindowAnswers(HWND window) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

}  // namespace jc::test
