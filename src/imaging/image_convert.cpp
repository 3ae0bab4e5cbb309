#include "imaging/image_convert.h"

#include "common/codepage.h"

namespace jc {

ImageFormat ImageFormatFor(int code) {
  static constexpr ImageFormat kFormats[] = {
      {"{557CF400-1A04-11D3-9A73-0000F81EF32E}", ".bmp"},
      {"{557CF401-1A04-11D3-9A73-0000F81EF32E}", ".jpg"},
      {"{557CF402-1A04-11D3-9A73-0000F81EF32E}", ".gif"},
      {"{557CF405-1A04-11D3-9A73-0000F81EF32E}", ".tiff"},
      {"{557CF406-1A04-11D3-9A73-0000F81EF32E}", ".png"},
  };
  if (code < 1 || code > 5) return {};
  return kFormats[code - 1];
}

namespace {

// Only ASCII and full-width spaces; a dangling lead byte is not blank.
bool IsBlank(std::string_view path) {
  for (size_t i = 0; i < path.size();) {
    if (path[i] == ' ') {
      ++i;
    } else if (path.substr(i, 2) == "\xA1\xA1") {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

Text OutputFileFor(const Text& outputPath, std::string_view extension) {
  if (IsBlank(outputPath)) return {};
  // LowerCase leaves both bytes of a double-byte character alone.
  Text tail = RightText(outputPath, static_cast<int>(extension.size()));
  if (LowerCase(tail) == LowerCase(extension)) return outputPath;
  return outputPath + Text(extension);
}

Bytes AnsiToUtf16(std::string_view text, bool dropTerminator) {
  text = text.substr(0, text.find('\0'));  // the converter reads up to the first NUL
  if (text.empty()) return {};
  std::u16string wide = WidenCodePage936(text);
  if (!dropTerminator) wide.push_back(u'\0');
  Bytes bytes;
  bytes.reserve(wide.size() * 2);
  for (char16_t unit : wide) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

bool ConvertImageFormat(ImageEncoder& encoder, const FileWriter& writeFile, const Bytes& image,
                        int format, const Text& outputPath, Bytes* outputBytes, bool flatten) {
  if (image.size() < 3) return false;
  ImageFormat chosen = ImageFormatFor(format);
  Bytes encoded = encoder.Encode(image, chosen.encoderClsid, flatten);
  if (encoded.empty()) return false;
  Text target = OutputFileFor(outputPath, chosen.extension);
  if (!target.empty()) writeFile(target, encoded);  // a failed write does not change the result
  if (outputBytes) *outputBytes = std::move(encoded);
  return true;
}

}  // namespace jc
