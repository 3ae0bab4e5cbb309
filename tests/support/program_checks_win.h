// What a driver of the running program looks at and does, as a user or the tray would: log
// lines by their shape, the tray icon, tray notifications and menu items, check boxes.
#pragma once

#include <windows.h>

#include "common/text.h"
#include "shell/main_window_win.h"
#include "tests/support/running_program_win.h"

namespace jc::test {

// A log line with every digit made a 9, so lines compare whatever the time.
Text Shape(Text line);
extern const Text kStartShape;  // "9999年99月99日 99时99分99秒 正在更新地球图片……\r\n"
extern const Text kDoneShape;   // "... 更新地球图片完成。\r\n"

// True while the tray holds an icon of `window` with the program's icon id: modifying nothing
// succeeds only for an icon that exists.
bool TrayIconShown(HWND window);

// The tray's notification for a mouse message over the icon.
void Tray(HWND window, UINT mouseMessage);

// A tray menu item chosen (what the menu sends when the user picks it).
void ChooseTrayItem(HWND window, MenuId item);

bool IsChecked(HWND box);

// The program's visible pop-up menu window, or null.
HWND OpenMenuOf(DWORD processId);

// Opens the tray menu with a right click and reads from the screen whether its first item,
// 获取地球图片, is enabled: its text is drawn dark when enabled, grey when not. Closes the menu.
bool TrayUpdateItemEnabled(const RunningProgram& program);

// The window answers a message within 5 s.
bool WindowAnswers(HWND window);

}  // namespace jc::test
