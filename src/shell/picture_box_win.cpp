#include "shell/picture_box_win.h"

#include <memory>

#include "shell/window_object_win.h"

namespace jc {
namespace {

constexpr char kClassName[] = "JiChuangPictureBox";
constexpr Gdiplus::ARGB kOpaqueBlack = 0xFF000000;

}  // namespace

PictureBox* PictureBox::Create(HWND parent, int id, RECT bounds) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {sizeof windowClass};
  if (!::GetClassInfoExA(instance, kClassName, &windowClass)) {
    windowClass = {sizeof windowClass};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExA(&windowClass);
  }
  // The window owns the object: WM_NCDESTROY deletes it.
  auto box = std::make_unique<PictureBox>();
  HWND hwnd = ::CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                box.get());
  return hwnd ? box.release() : nullptr;
}

void PictureBox::SetPicture(const Bytes& bytes) {
  // A buffer of this picture's own size: assigning in place would keep, for the rest of the
  // run, the capacity of the largest answer ever shown (a 50 MiB error body, say).
  bytes_ = Bytes(bytes);
  // Transparent parts show the box's black, as the background of the decoded bitmap.
  shown_ = DecodeToBitmap(bytes_, kOpaqueBlack);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void PictureBox::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(hwnd_, &paint);
  RECT client;
  ::GetClientRect(hwnd_, &client);
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  if (shown_.bitmap) {
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, shown_.bitmap.get());
    int left = (client.right - shown_.size.cx) / 2;
    int top = (client.bottom - shown_.size.cy) / 2;
    ::BitBlt(dc, left, top, shown_.size.cx, shown_.size.cy, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  }
  ::EndPaint(hwnd_, &paint);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  PictureBox* box = WindowObject<PictureBox>(hwnd, message, lParam);
  if (box) {
    switch (message) {
      case WM_PAINT:
        box->OnPaint();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT, without flicker
      case WM_NCDESTROY:
        delete box;
        return 0;
    }
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace jc
