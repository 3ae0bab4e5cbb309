// The GDI+ side of image conversion.
#pragma once

#include <windows.h>

#include "imaging/image_convert.h"

namespace jc {

// An encoder's class identifier from its braced text form; the all-zero GUID, which matches no
// encoder, for an empty or malformed text.
CLSID ClsidFromText(std::string_view text);

// Decodes with GDI+ and encodes with one of its built-in encoders. Starts GDI+ for each call
// and shuts it down before returning; safe on any thread.
class GdiplusEncoder final : public ImageEncoder {
 public:
  Bytes Encode(const Bytes& image, std::string_view encoderClsid, bool flatten) override;
};

}  // namespace jc
