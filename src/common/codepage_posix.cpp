// The native build's converter, so the portable code that widens texts is tested natively.
#include "common/codepage.h"

#include <iconv.h>

namespace jc {

std::u16string WidenCodePage936(std::string_view text) {
  if (text.empty()) return {};
  iconv_t cd = iconv_open("UTF-16LE", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in(text);
  std::u16string out(text.size() + 1, u'\0');  // GBK never takes fewer bytes than UTF-16 units
  char* inPtr = in.data();
  char* outPtr = reinterpret_cast<char*>(out.data());
  size_t inLeft = in.size(), outLeft = out.size() * sizeof(char16_t);
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    if (outLeft < sizeof(char16_t)) break;
    // Not GBK: one replacement unit for the offending byte, as Windows does, then go on.
    *reinterpret_cast<char16_t*>(outPtr) = u'\xFFFD';
    outPtr += sizeof(char16_t);
    outLeft -= sizeof(char16_t);
    ++inPtr;
    --inLeft;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft / sizeof(char16_t));
  return out;
}

}  // namespace jc
