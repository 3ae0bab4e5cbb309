// Re-encoding image bytes into BMP, JPEG, GIF, TIFF or PNG, optionally written to a file.
//
// The routine's own rules (the length test, the format table, the extension rule, the output
// bytes and the result) are portable; the decoding and encoding are the platform's, behind
// `ImageEncoder` (GDI+ on Windows). Nothing survives between calls; any thread may call.
#pragma once

#include <functional>
#include <string_view>

#include "common/text.h"

namespace jc {

struct ImageFormat {
  std::string_view encoderClsid;  // GDI+'s built-in encoder, braced registry form
  std::string_view extension;     // with its dot
};

// Codes 1 BMP, 2 JPEG, 3 GIF, 4 TIFF, 5 PNG; any other code selects nothing (both empty).
ImageFormat ImageFormatFor(int code);

// The file an encoded image goes to: empty when `outputPath` is blank (ASCII and full-width
// spaces), else the untrimmed path, followed by `extension` unless it already ends in it
// (ASCII letters compared without case).
Text OutputFileFor(const Text& outputPath, std::string_view extension);

// The UTF-16LE bytes of a code page 936 text with the terminating NUL unit, unless
// `dropTerminator`. An empty text gives empty bytes.
Bytes AnsiToUtf16(std::string_view text, bool dropTerminator = false);

// Decodes an image and encodes it with the encoder named by its class identifier text.
class ImageEncoder {
 public:
  virtual ~ImageEncoder() = default;
  // The encoded file, or empty bytes when the image can't be decoded or no encoder matches.
  // `flatten` draws the image over white into an opaque bitmap first.
  virtual Bytes Encode(const Bytes& image, std::string_view encoderClsid, bool flatten) = 0;
};

using FileWriter = std::function<bool(const Text& path, const Bytes& bytes)>;

// True when encoded data was produced, whether or not a file was written. On success
// `outputBytes` (when given) receives the encoded bytes; on failure it is left alone. Input
// shorter than 3 bytes fails at once without touching the encoder or any file.
bool ConvertImageFormat(ImageEncoder& encoder, const FileWriter& writeFile, const Bytes& image,
                        int format, const Text& outputPath = {}, Bytes* outputBytes = nullptr,
                        bool flatten = false);

// The system's routine over GDI+ and whole-file writes (Windows build).
bool ConvertImageFormat(const Bytes& image, int format, const Text& outputPath = {},
                        Bytes* outputBytes = nullptr, bool flatten = false);

}  // namespace jc
