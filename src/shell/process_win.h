// Processes by their snapshot entries, and the running instance's window.
#pragma once

#include <windows.h>

#include "common/text.h"

namespace jc {

// The file name that a process snapshot reports for `processId` ("app.exe"), or empty when no
// process has that identifier.
Text ProcessNameById(DWORD processId);

// The first process in a snapshot whose file name equals `fileName`, ignoring the case of ASCII
// letters; 0 when none. The process `except` (for instance the caller itself) is passed over.
DWORD FindProcessId(const Text& fileName, DWORD except = 0);

// The first visible top-level window of `processId`, looked for again every `pauseMs` while
// the calling thread's messages are dispatched; null once `limitMs` has passed.
HWND FindProcessWindow(DWORD processId, DWORD limitMs = 5000, DWORD pauseMs = 50);

// Restores `window`, activates it and puts it at the top of the non-topmost windows.
void BringWindowToFront(HWND window);

}  // namespace jc
