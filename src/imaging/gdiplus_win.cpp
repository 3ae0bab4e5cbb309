#include "imaging/gdiplus_win.h"

#include <cstring>

namespace jc {

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread, codecs on
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) reset(token);
}

GlobalLock::GlobalLock(HGLOBAL block) {
  if (!block) return;
  address_ = ::GlobalLock(block);
  if (address_) reset(block);
}

UniqueStream StreamOverCopy(const Bytes& bytes, UniqueGlobal& block) {
  block.reset(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!block) return UniqueStream();
  IStream* raw = nullptr;
  // The stream does not free the block: the caller's owner does, after the images are gone.
  if (FAILED(::CreateStreamOnHGlobal(block.get(), FALSE, &raw))) return UniqueStream();
  UniqueStream stream(raw);
  GlobalLock lock(block.get());
  if (!lock.address()) return UniqueStream();
  std::memcpy(lock.address(), bytes.data(), bytes.size());
  return stream;
}

Bytes StreamContents(IStream* stream) {
  STATSTG stat = {};
  HGLOBAL block = nullptr;
  if (!stream || FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart == 0 ||
      FAILED(::GetHGlobalFromStream(stream, &block))) {
    return {};
  }
  GlobalLock lock(block);
  if (!lock.address()) return {};
  size_t size = static_cast<size_t>(stat.cbSize.QuadPart);
  size = std::min<size_t>(size, ::GlobalSize(block));
  const auto* data = static_cast<const std::uint8_t*>(lock.address());
  return Bytes(data, data + size);
}

namespace {

// Runs `use` on the decoded image while its stream and memory are alive.
template <typename Use>
void WithDecoded(const Bytes& bytes, Use use) {
  if (bytes.empty()) return;
  GdiplusSession session;
  UniqueGlobal block;
  UniqueGpImage image;
  UniqueStream stream = StreamOverCopy(bytes, block);
  if (!session || !stream) return;
  Gdiplus::GpBitmap* bitmap = nullptr;
  gdip::GdipCreateBitmapFromStream(stream.get(), &bitmap);
  image.reset(bitmap);
  if (image) use(bitmap);
}

}  // namespace

DecodedBitmap DecodeToBitmap(const Bytes& bytes, Gdiplus::ARGB background) {
  DecodedBitmap decoded;
  WithDecoded(bytes, [&](Gdiplus::GpBitmap* bitmap) {
    UINT width = 0, height = 0;
    gdip::GdipGetImageWidth(bitmap, &width);
    gdip::GdipGetImageHeight(bitmap, &height);
    HBITMAP gdiBitmap = nullptr;
    gdip::GdipCreateHBITMAPFromBitmap(bitmap, &gdiBitmap, background);
    decoded.bitmap.reset(gdiBitmap);
    decoded.size = {static_cast<LONG>(width), static_cast<LONG>(height)};
  });
  return decoded;
}

bool DecodesAsImage(const Bytes& bytes) {
  bool decodes = false;
  WithDecoded(bytes, [&](Gdiplus::GpBitmap* bitmap) {
    UINT width = 0, height = 0;
    gdip::GdipGetImageWidth(bitmap, &width);
    gdip::GdipGetImageHeight(bitmap, &height);
    decodes = width > 0 && height > 0;
  });
  return decodes;
}

}  // namespace jc
