// GDI+ through its flat API, with owners for each object the imaging code makes: the GDI+
// session, images, GDI bitmaps, COM streams and global memory blocks and their locks.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "common/text.h"
#include "common/unique_handle_win.h"

namespace jc {

namespace gdip = Gdiplus::DllExports;

struct GdiplusTokenTraits {
  using Handle = ULONG_PTR;
  static Handle None() noexcept { return 0; }
  static void Close(Handle token) noexcept { Gdiplus::GdiplusShutdown(token); }
};
// GDI+ started for the owner's lifetime (version 1, no debug callback, its own thread).
class GdiplusSession : public UniqueHandle<GdiplusTokenTraits> {
 public:
  GdiplusSession();
};

struct GpImageTraits {
  using Handle = Gdiplus::GpImage*;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle image) noexcept { gdip::GdipDisposeImage(image); }
};
using UniqueGpImage = UniqueHandle<GpImageTraits>;

struct StreamTraits {
  using Handle = IStream*;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle stream) noexcept { stream->Release(); }
};
using UniqueStream = UniqueHandle<StreamTraits>;

struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle block) noexcept { ::GlobalFree(block); }
};
using UniqueGlobal = UniqueHandle<GlobalTraits>;

// A lock on a global block; `get()` is the block handle, `address()` the locked memory.
struct GlobalLockTraits {
  using Handle = HGLOBAL;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle block) noexcept { ::GlobalUnlock(block); }
};
class GlobalLock : public UniqueHandle<GlobalLockTraits> {
 public:
  GlobalLock() = default;
  explicit GlobalLock(HGLOBAL block);
  void* address() const { return address_; }

 private:
  void* address_ = nullptr;
};

// A stream reading a private copy of `bytes` from its start. `block` receives the copy, which
// must outlive every image decoded from the stream. Empty when memory ran out.
UniqueStream StreamOverCopy(const Bytes& bytes, UniqueGlobal& block);

// The bytes written into a stream made by CreateStreamOnHGlobal, as many as its logical size
// (the block behind it may be larger).
Bytes StreamContents(IStream* stream);

// A decoded picture as a GDI bitmap drawn over `background` (0xAARRGGBB), with its size; an
// empty owner when the bytes are no image GDI+ can decode.
struct DecodedBitmap {
  UniqueGdiObject bitmap;
  SIZE size = {0, 0};
};
DecodedBitmap DecodeToBitmap(const Bytes& bytes, Gdiplus::ARGB background);

// Whether GDI+ decodes the bytes as an image of at least one pixel.
bool DecodesAsImage(const Bytes& bytes);

}  // namespace jc
