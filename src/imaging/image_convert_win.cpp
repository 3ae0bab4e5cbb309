#include "imaging/image_convert_win.h"

#include "common/file_win.h"
#include "imaging/gdiplus_win.h"

namespace jc {

CLSID ClsidFromText(std::string_view text) {
  CLSID clsid = {};
  Bytes wide = AnsiToUtf16(text);  // with its terminator
  if (wide.empty()) return clsid;
  if (FAILED(::CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.data()), &clsid))) clsid = {};
  return clsid;
}

Bytes GdiplusEncoder::Encode(const Bytes& image, std::string_view encoderClsid, bool flatten) {
  // Declared in the reverse of the order of release: the streams go first, then the image,
  // then the block the image may still read from, and GDI+ itself last.
  GdiplusSession session;
  CLSID encoder = ClsidFromText(encoderClsid);
  UniqueGlobal inputBlock;
  UniqueGpImage picture;
  UniqueStream output;
  UniqueStream input = StreamOverCopy(image, inputBlock);
  if (!session || !input) return {};

  Gdiplus::GpBitmap* decoded = nullptr;
  gdip::GdipCreateBitmapFromStream(input.get(), &decoded);
  picture.reset(decoded);
  if (!picture) return {};

  if (flatten) {
    HBITMAP gdiBitmap = nullptr;
    gdip::GdipCreateHBITMAPFromBitmap(decoded, &gdiBitmap, 0x00FFFFFF);
    UniqueGdiObject gdiOwner(gdiBitmap);
    Gdiplus::GpBitmap* opaque = nullptr;
    if (gdiBitmap) gdip::GdipCreateBitmapFromHBITMAP(gdiBitmap, nullptr, &opaque);
    picture.reset(opaque);
    if (!picture) return {};
  }

  IStream* rawOutput = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &rawOutput))) return {};
  output.reset(rawOutput);
  gdip::GdipSaveImageToStream(picture.get(), output.get(), &encoder, nullptr);
  return StreamContents(output.get());
}

bool ConvertImageFormat(const Bytes& image, int format, const Text& outputPath, Bytes* outputBytes,
                        bool flatten) {
  GdiplusEncoder encoder;
  return ConvertImageFormat(encoder, WriteWholeFile, image, format, outputPath, outputBytes,
                            flatten);
}

}  // namespace jc
