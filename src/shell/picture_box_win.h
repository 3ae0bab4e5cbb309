// The picture box: a borderless black child window that shows one image centred. It keeps a
// copy of the bytes it was given and hands back exactly those; bytes it cannot decode leave
// it blank. User-interface thread only.
#pragma once

#include <windows.h>

#include "common/text.h"
#include "common/unique_handle_win.h"
#include "imaging/gdiplus_win.h"

namespace jc {

class PictureBox {
 public:
  // Registers the window class once and creates the box as a child of `parent`.
  static PictureBox* Create(HWND parent, int id, RECT bounds);

  HWND hwnd() const { return hwnd_; }
  void SetPicture(const Bytes& bytes);
  const Bytes& Picture() const { return bytes_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();

  template <typename Object>
  friend Object* WindowObject(HWND, UINT, LPARAM);
  HWND hwnd_ = nullptr;
  Bytes bytes_;
  DecodedBitmap shown_;
};

}  // namespace jc
