// One move-only owner for every kind of platform handle.
//
// A traits type names the raw handle type, its "none" value and how to release it; the
// owner releases exactly once, on destruction or `reset`, and cannot be copied. Aliases for
// the handle kinds sit with the code that uses them (e.g. `UniqueInternet` in web/).
#pragma once

#include <windows.h>

#include <utility>

namespace jc {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::None(); }

  Handle release() noexcept { return std::exchange(handle_, Traits::None()); }
  void reset(Handle handle = Traits::None()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::None()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::None();
};

// Kernel objects whose "none" is null (events, threads, processes, mutexes).
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Files and snapshots, whose "none" is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle None() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// GDI objects: bitmaps, fonts, brushes.
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle object) noexcept { ::DeleteObject(object); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

}  // namespace jc
