// The one window pattern: a static window procedure finds the C++ object of its window, which
// CreateWindowEx handed over as the creation parameter, and forwards to it.
#pragma once

#include <windows.h>

namespace jc {

// The object attached to `hwnd`, attaching it (and setting its `hwnd_`) at WM_NCCREATE, and
// detaching it at WM_NCDESTROY, after which the window has none. Null before WM_NCCREATE.
template <typename Object>
Object* WindowObject(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* object = static_cast<Object*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    object->hwnd_ = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  }
  auto* object = reinterpret_cast<Object*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (object && message == WM_NCDESTROY) ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return object;
}

}  // namespace jc
