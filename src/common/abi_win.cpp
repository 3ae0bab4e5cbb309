// Layout assumptions the platform code relies on, checked by every Windows build. The 32-bit
// build is the shipped one and cannot run here, so its layout is proven at compile time.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <wininet.h>

static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4, "Win32 integers are 32 bits");
static_assert(sizeof(INTERNET_PORT) == 2, "a port fits 16 bits");
static_assert(sizeof(SYSTEMTIME) == 16, "calendar fields as the NLS calls read them");
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*),
              "message parameters carry pointers");

#if defined(_WIN64)
static_assert(sizeof(void*) == 8);
static_assert(sizeof(PROCESSENTRY32) == 304, "dwSize of a 64-bit process snapshot entry");
static_assert(sizeof(NOTIFYICONDATAA) == 528, "cbSize of the tray icon data");
#else
static_assert(sizeof(void*) == 4);
static_assert(sizeof(PROCESSENTRY32) == 296, "dwSize of a 32-bit process snapshot entry");
static_assert(sizeof(NOTIFYICONDATAA) == 508, "cbSize of the tray icon data");
#endif
