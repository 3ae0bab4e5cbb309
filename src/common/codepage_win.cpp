#include "common/codepage.h"

#include <windows.h>

namespace jc {

std::u16string WidenCodePage936(std::string_view text) {
  if (text.empty()) return {};
  int length = static_cast<int>(text.size());
  int units = ::MultiByteToWideChar(936, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<size_t>(units), u'\0');
  ::MultiByteToWideChar(936, 0, text.data(), length, reinterpret_cast<wchar_t*>(wide.data()),
                        units);
  return wide;
}

}  // namespace jc
